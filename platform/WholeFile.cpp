#include "platform/WholeFile.h"

#include "platform/File.h"

CHeapBlock<char> ReadWholeFile(const char* path, size_t limit, size_t& size) {
    CFile file;
    return file.Open(path) ? file.ReadWhole(limit, size) : nullptr;
}

bool WriteWholeFile(const char* path, const void* data, size_t size) {
    CFile file;
    bool whole = file.Create(path) && file.Write(data, size);
    return file.Close() && whole;
}
