#include "platform/WholeFile.h"

#include <windows.h>

#include <stdlib.h>

char* ReadWholeFile(const char* path, size_t limit, size_t& size) {
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    DWORD high = 0;
    DWORD length = GetFileSize(file, &high);
    char* data = length != INVALID_FILE_SIZE && high == 0 && length <= limit
                     ? static_cast<char*>(malloc(length + 1))
                     : nullptr;
    DWORD read = 0;
    if (data && (!ReadFile(file, data, length, &read, nullptr) || read != length)) {
        free(data);
        data = nullptr;
    }
    CloseHandle(file);
    size = length;
    return data;
}
