#include "install/ProductFiles.h"

#include <stdlib.h>
#include <string.h>

#include "install/RoomRules.h"
#include "platform/FindFile.h"
#include "platform/ProcAddress.h"

namespace {

typedef BOOL(WINAPI* GetDiskFreeSpaceExAProc)(LPCSTR folder, PULARGE_INTEGER available,
                                              PULARGE_INTEGER total, PULARGE_INTEGER free);

// The size of the file at `path`; false when there is none.
bool FileSize(const char* path, unsigned long long& size) {
    CFindFile entry(path);
    if (!entry.Found() || entry.IsFolder())
        return false;
    size = entry.Size();
    return true;
}

char* CopyOf(const char* text) {
    size_t size = strlen(text) + 1;
    char* copy = static_cast<char*>(malloc(size));
    if (copy)
        memcpy(copy, text, size);
    return copy;
}

} // namespace

bool FolderExists(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ProductFiles::~ProductFiles() {
    for (size_t i = 0; i < m_count; ++i)
        free(m_entries[i].path);
    free(m_entries);
}

bool ProductFiles::Add(const char* path, unsigned long long size, bool folder) {
    if (m_count == m_capacity) {
        size_t capacity = m_capacity ? 2 * m_capacity : 64;
        void* grown = realloc(m_entries, capacity * sizeof(Entry));
        if (!grown)
            return false;
        m_entries = static_cast<Entry*>(grown);
        m_capacity = capacity;
    }
    char* copy = CopyOf(path);
    if (!copy)
        return false;
    m_entries[m_count++] = {copy, size, folder};
    return true;
}

bool ProductFiles::List(const char* folder) {
    return FolderExists(folder) && ListBelow(folder, "");
}

bool ProductFiles::ListBelow(const char* folder, const char* relative) {
    PathBuffer pattern;
    if (!FormatPath(pattern, "%s\\*.*", folder))
        return false;
    for (CFindFile entry(pattern); entry.Found(); entry.Next()) {
        if (entry.IsDots())
            continue;
        PathBuffer path, below;
        if (!FormatPath(path, "%s\\%s", folder, entry.Name()) ||
            !FormatPath(below, "%s%s%s", relative, *relative ? "\\" : "", entry.Name()) ||
            !Add(below, entry.Size(), entry.IsFolder()))
            return false;
        if (entry.IsFolder() && !entry.IsLink() && !ListBelow(path, below))
            return false;
    }
    return true;
}

unsigned long long BytesToWrite(const ProductFiles& files, const char* installDir) {
    unsigned long long total = 0;
    for (size_t i = 0; i < files.Count(); ++i) {
        if (files.IsFolder(i))
            continue;
        PathBuffer target;
        unsigned long long existing = 0;
        bool exists =
            FormatPath(target, "%s\\%s", installDir, files.Path(i)) && FileSize(target, existing);
        total += AddedBytes(files.Size(i), exists, existing);
    }
    return total;
}

bool FreeBytesFor(const char* path, unsigned long long& freeBytes) {
    PathBuffer folder;
    if (!NearestExistingFolder(path, FolderExists, folder))
        return false;
    // The first Windows 95 lacks the call that knows drives over 2 GB and
    // the user's quota.
    auto getFreeEx = KernelProc<GetDiskFreeSpaceExAProc>("GetDiskFreeSpaceExA");
    if (getFreeEx) {
        ULARGE_INTEGER available;
        if (!getFreeEx(folder, &available, nullptr, nullptr))
            return false;
        freeBytes = available.QuadPart;
        return true;
    }
    PathBuffer root;
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, clusters;
    if (!RootOfPath(folder, root) ||
        !GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return false;
    freeBytes = FreeBytesFromClusters(sectorsPerCluster, bytesPerSector, freeClusters);
    return true;
}

bool CopiedInFull(const ProductFiles& files, const char* installDir) {
    for (size_t i = 0; i < files.Count(); ++i) {
        PathBuffer target;
        if (!FormatPath(target, "%s\\%s", installDir, files.Path(i)))
            return false;
        unsigned long long size = 0;
        bool whole = files.IsFolder(i) ? FolderExists(target)
                                       : FileSize(target, size) && size >= files.Size(i);
        if (!whole)
            return false;
    }
    return true;
}

void RemoveTree(const char* folder) {
    PathBuffer pattern;
    if (!FormatPath(pattern, "%s\\*.*", folder))
        return;
    for (CFindFile entry(pattern); entry.Found(); entry.Next()) {
        PathBuffer path;
        if (entry.IsDots() || !FormatPath(path, "%s\\%s", folder, entry.Name()))
            continue;
        if (entry.IsFolder()) {
            if (!entry.IsLink())
                RemoveTree(path);
            else
                RemoveDirectoryA(path);
            continue;
        }
        // A link's attributes are its target's business.
        if (!entry.IsLink())
            SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path);
    }
    SetFileAttributesA(folder, FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(folder);
}

char* ReadWholeFile(const char* path, size_t& size) {
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    DWORD length = GetFileSize(file, nullptr);
    char* data = length != INVALID_FILE_SIZE ? static_cast<char*>(malloc(length + 1)) : nullptr;
    DWORD read = 0;
    if (data && (!ReadFile(file, data, length, &read, nullptr) || read != length)) {
        free(data);
        data = nullptr;
    }
    CloseHandle(file);
    size = length;
    return data;
}
