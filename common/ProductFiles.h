#pragma once
// The product folder's files on the medium, walked once before the copy:
// what the copy will write (for the space check), and what it must have
// written (to tell a copy cut short from a whole one), and what to remove
// of a copy that did not finish.

#include <stddef.h>

#include "text/HeapBlock.h"

class ProductFiles {
  public:
    ProductFiles() = default;
    ProductFiles(const ProductFiles&) = delete;
    ProductFiles& operator=(const ProductFiles&) = delete;

    // Lists every file and folder below `folder`, by path relative to it.
    // False when the folder cannot be read or (when the list must be
    // `whole`) a path does not fit a path buffer: the list is then
    // incomplete and must not be relied on. Otherwise such paths are passed
    // over.
    bool List(const char* folder, bool whole = true);

    // Adds one entry (a path below the listed folder); false without memory.
    bool Add(const char* path, unsigned long long size, bool folder);
    // Sorts the list by path, so that Find can look paths up.
    void SortByPath();
    // The entry at `path` (in any case of its letters) in a sorted list;
    // false when there is none.
    bool Find(const char* path, unsigned long long& size, bool& folder) const;

    size_t Count() const { return m_count; }
    const char* Path(size_t i) const { return m_paths.Get() + m_entries[i].at; }
    unsigned long long Size(size_t i) const { return m_entries[i].size; }
    bool IsFolder(size_t i) const { return m_entries[i].folder; }

  private:
    // The paths lie one after another in m_paths, which may move while
    // entries are added: an entry keeps its path's offset, and points at it
    // only once the list is sorted (first, so that it sorts as a path).
    struct Entry {
        const char* path;
        size_t at;
        unsigned long long size;
        bool folder;
    };
    CHeapBlock<Entry> m_entries;
    size_t m_count = 0;
    size_t m_capacity = 0;
    CHeapBlock<char> m_paths;
    size_t m_pathsUsed = 0;
    size_t m_pathsCapacity = 0;
};

bool FolderExists(const char* path);
