#include "platform/File.h"

#include <stdint.h>
#include <stdlib.h>

bool CFile::Open(const char* path) {
    *m_file.Out() =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    return bool(m_file);
}

bool CFile::Create(const char* path) {
    *m_file.Out() =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return bool(m_file);
}

CHeapBlock<char> CFile::ReadWhole(size_t limit, size_t& size) {
    DWORD high = 0;
    DWORD length = GetFileSize(m_file.Get(), &high);
    if (length == INVALID_FILE_SIZE || high != 0 || length > limit) {
        size = length == INVALID_FILE_SIZE || high != 0 ? SIZE_MAX : length;
        return nullptr;
    }
    CHeapBlock<char> data(static_cast<char*>(malloc(length + 1)));
    DWORD read = 0;
    if (data && ReadFile(m_file.Get(), data.Get(), length, &read, nullptr) && read == length) {
        data[length] = '\0';
        size = length;
    } else {
        data.Reset();
    }
    return data;
}

bool CFile::Write(const void* data, size_t size) {
    DWORD written = 0;
    return size <= MAXDWORD && WriteFile(m_file.Get(), data, (DWORD)size, &written, nullptr) &&
           written == size;
}
