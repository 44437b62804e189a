#include "common/ProductFiles.h"

#include <stdlib.h>
#include <string.h>

#include "common/RoomRules.h"
#include "platform/FindFile.h"
#include "platform/ProcAddress.h"

namespace {

typedef BOOL(WINAPI* GetDiskFreeSpaceExAProc)(LPCSTR folder, PULARGE_INTEGER available,
                                              PULARGE_INTEGER total, PULARGE_INTEGER free);

char* CopyOf(const char* text) {
    size_t size = strlen(text) + 1;
    char* copy = static_cast<char*>(malloc(size));
    if (copy)
        memcpy(copy, text, size);
    return copy;
}

int ComparePaths(const void* a, const void* b) {
    return _stricmp(*static_cast<const char* const*>(a), *static_cast<const char* const*>(b));
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

// Entries begin with their path, so they sort and are found as paths.
void ProductFiles::SortByPath() {
    qsort(m_entries, m_count, sizeof(Entry), ComparePaths);
}

bool ProductFiles::Find(const char* path, unsigned long long& size, bool& folder) const {
    const Entry* entry =
        static_cast<const Entry*>(bsearch(&path, m_entries, m_count, sizeof(Entry), ComparePaths));
    if (!entry)
        return false;
    size = entry->size;
    folder = entry->folder;
    return true;
}

bool ProductFiles::List(const char* folder, bool whole) {
    // Each entry by its path below `folder`: what follows "folder\".
    struct Walk {
        ProductFiles* files;
        size_t below;
    } walk = {this, strlen(folder) + 1};
    auto add = [](void* context, const char* path, const CFindFile& entry) {
        auto* walk = static_cast<Walk*>(context);
        return walk->files->Add(path + walk->below, entry.Size(), entry.IsFolder());
    };
    return FolderExists(folder) && WalkBelow(folder, whole, add, &walk);
}

unsigned long long BytesToWrite(const ProductFiles& files) {
    unsigned long long total = 0;
    for (size_t i = 0; i < files.Count(); ++i)
        total += files.Size(i);
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

namespace {

void ClearReadOnlyOfOwn(const char* path, DWORD attributes) {
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
}

} // namespace

bool CopiedInFullAndWritable(const ProductFiles& files, const char* copy) {
    struct Walk {
        const ProductFiles* files;
        size_t below;
        size_t found;
    } walk = {&files, strlen(copy) + 1, 0};
    auto check = [](void* context, const char* path, const CFindFile& entry) {
        auto* walk = static_cast<Walk*>(context);
        ClearReadOnlyOfOwn(path, entry.Attributes());
        unsigned long long size = 0;
        bool folder = false;
        if (walk->files->Find(path + walk->below, size, folder) && folder == entry.IsFolder() &&
            (folder || entry.Size() >= size))
            ++walk->found;
        return true;
    };
    ClearReadOnlyOfOwn(copy, GetFileAttributesA(copy));
    return FolderExists(copy) && WalkBelow(copy, true, check, &walk) && walk.found == files.Count();
}
