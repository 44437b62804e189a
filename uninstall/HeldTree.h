#pragma once
// Removing files and empty folders below one folder (the tree's base)
// without ever going through a junction or link, even one made while the
// removal runs. Every folder on the way to what is removed, from below the
// drive's root down, is held open without delete sharing while something
// inside it goes, so that none of them can be renamed or replaced meanwhile;
// from the base down no folder may be a link, and from Vista on the base's
// handle must lead to a folder whose path ends as the base's does. Windows
// 95 and 98 have neither links nor folder handles: there paths are used as
// they are.

#include <windows.h>

#include "install/PathRules.h"

class CHeldTree {
  public:
    explicit CHeldTree(const char* base);
    ~CHeldTree() { Release(0); }
    CHeldTree(const CHeldTree&) = delete;
    CHeldTree& operator=(const CHeldTree&) = delete;

    // Whether `path` is the base or lies below it.
    bool Holds(const char* path) const { return IsSameOrBelow(path, m_base); }
    // Deletes the file (or the link itself) at `path`, below the base.
    // False when it stays, or when its way cannot be held.
    bool DeleteFile(const char* path);
    // Removes the folder `path` (the base, or a folder below it) when it is
    // empty.
    bool RemoveFolder(const char* path);

  private:
    bool HoldParentOf(const char* path);
    bool Hold(size_t end);
    void Release(size_t count);

    // A path of 259 bytes has at most this many folders.
    enum { kMostHeld = text::kPathBufferSize / 2 };
    PathBuffer m_base;
    size_t m_baseLength;
    size_t m_rootLength;
    bool m_canHold;
    DWORD m_linkItself; // the flag that opens a link rather than its target
    // The folders held: m_path's first m_ends[i] bytes, each a handle.
    PathBuffer m_path;
    HANDLE m_held[kMostHeld];
    size_t m_ends[kMostHeld];
    size_t m_count = 0;
};
