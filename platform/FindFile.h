#pragma once
// CFindFile: one search of a folder (FindFirstFileA/FindNextFileA), closed
// when it goes out of scope, on every path.
//
//     for (CFindFile entry(pattern); entry.Found(); entry.Next())
//         use(entry.Name());

#include <windows.h>

#include "text/Format.h"

class CFindFile {
  public:
    // Starts the search; Found() is false when nothing matches or the
    // search cannot start.
    explicit CFindFile(const char* pattern) : m_search(::FindFirstFileA(pattern, &m_entry)) {
        m_found = m_search != INVALID_HANDLE_VALUE;
    }
    ~CFindFile() {
        if (m_search != INVALID_HANDLE_VALUE)
            ::FindClose(m_search);
    }
    CFindFile(const CFindFile&) = delete;
    CFindFile& operator=(const CFindFile&) = delete;

    // Whether an entry is current.
    bool Found() const { return m_found; }
    void Next() { m_found = ::FindNextFileA(m_search, &m_entry) != FALSE; }

    const char* Name() const { return m_entry.cFileName; }
    DWORD Attributes() const { return m_entry.dwFileAttributes; }
    bool IsFolder() const { return (m_entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // A junction or symbolic link: it leads out of the folder searched.
    bool IsLink() const { return (m_entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
    // "." and "..": the folder itself and its parent.
    bool IsDots() const {
        const char* n = m_entry.cFileName;
        return n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'));
    }
    unsigned long long Size() const {
        return (unsigned long long)m_entry.nFileSizeHigh << 32 | m_entry.nFileSizeLow;
    }

  private:
    WIN32_FIND_DATAA m_entry;
    HANDLE m_search;
    bool m_found;
};

// Calls `visit` for every entry below `folder`, each folder before what it
// holds, and enters no link. An entry whose path does not fit is skipped,
// or with `whole` ends the walk. False when the walk ended early: `visit`
// returned false, or (with `whole`) a path did not fit.
typedef bool (*VisitEntry)(void* context, const char* path, const CFindFile& entry);
bool WalkBelow(const char* folder, bool whole, VisitEntry visit, void* context);
