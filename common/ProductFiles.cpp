#include "common/ProductFiles.h"

#include <stdlib.h>
#include <string.h>

#include "platform/FindFile.h"

namespace {

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
