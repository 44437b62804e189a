#include "common/ProductFiles.h"

#include <stdlib.h>
#include <string.h>

#include "platform/FindFile.h"

namespace {

// Makes `block` hold at least `needed` items, doubling what it holds.
template <class T> bool Reserve(CHeapBlock<T>& block, size_t& capacity, size_t needed) {
    if (needed <= capacity)
        return true;
    size_t grown = capacity ? 2 * capacity : 64;
    while (grown < needed)
        grown *= 2;
    if (!block.Resize(grown))
        return false;
    capacity = grown;
    return true;
}

int ComparePaths(const void* a, const void* b) {
    return _stricmp(*static_cast<const char* const*>(a), *static_cast<const char* const*>(b));
}

} // namespace

bool FolderExists(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ProductFiles::Add(const char* path, unsigned long long size, bool folder) {
    size_t length = strlen(path) + 1;
    if (!Reserve(m_entries, m_capacity, m_count + 1) ||
        !Reserve(m_paths, m_pathsCapacity, m_pathsUsed + length))
        return false;
    memcpy(m_paths.Get() + m_pathsUsed, path, length);
    m_entries[m_count++] = {nullptr, m_pathsUsed, size, folder};
    m_pathsUsed += length;
    return true;
}

// Entries begin with their path, so they sort and are found as paths.
void ProductFiles::SortByPath() {
    for (size_t i = 0; i < m_count; ++i)
        m_entries[i].path = Path(i);
    qsort(m_entries.Get(), m_count, sizeof(Entry), ComparePaths);
}

bool ProductFiles::Find(const char* path, unsigned long long& size, bool& folder) const {
    const Entry* entry = static_cast<const Entry*>(
        bsearch(&path, m_entries.Get(), m_count, sizeof(Entry), ComparePaths));
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
