#pragma once
// Writing and removing below one folder (the tree's base) without ever
// going through a junction or link, even one made while the run goes on.
//
// The way to the base: every existing folder from below the drive's root
// down to the base is opened as itself and held until the tree is
// destroyed, sharing neither write nor delete, so that none can be renamed,
// deleted or turned into a link meanwhile. A link on that way is refused
// (a mount point of a whole volume that administrators own may stay above
// the base, as a drive letter may); from
// Vista on the base's final path must be the recorded one as a whole.
//
// Below the base every file and folder is deleted, and its read-only
// attribute cleared, through a handle of its own that opens it as itself:
// a link is removed as itself and its target is never touched. Windows 95
// and 98 have neither links nor folder handles, but under Wine they show
// Unix links as reparse points: there every folder of the way is checked
// by its attributes and paths are used.

#include <windows.h>

#include "common/PathRules.h"
#include "platform/Handle.h"

enum class WayVerdict {
    Held,    // every existing folder of the way is held as itself
    Link,    // one is a link: `link` names it
    NotHeld, // one could not be opened, or the base leads elsewhere: `link`
             // names it
};

class CHeldTree {
  public:
    CHeldTree() { SetBase(""); }
    explicit CHeldTree(const char* base) { SetBase(base); }
    ~CHeldTree() { Release(0); }
    CHeldTree(const CHeldTree&) = delete;
    CHeldTree& operator=(const CHeldTree&) = delete;

    // `movable`: the base, when it exists, is held with the right to move
    // it (BaseHandle), and the folder that holds it takes renames.
    void SetBase(const char* base, bool movable = false);
    // Holds every existing folder from below the root down to the base, and
    // keeps them held; again after the base was made, holds it too. On a
    // link `link` names it.
    WayVerdict HoldWay(PathBuffer& link);

    // Whether `path` is the base or lies below it.
    bool Holds(const char* path) const { return IsSameOrBelow(path, m_base); }
    // Deletes the file (or the link itself) at `path`, below the base;
    // with `onlyOneName`, not a file that has another name as well.
    // False when it stays, or when its way cannot be held.
    bool DeleteFile(const char* path, bool onlyOneName = false);
    // Removes the folder (or the link itself) `path`, the base or a folder
    // below it, when it is empty.
    bool RemoveFolder(const char* path);
    // Moves the file or folder (or the link itself) at `path`, below the
    // base, to `to`, whose folder the caller holds; false when it stays.
    bool Move(const char* path, const char* to);
    // The base held by HoldWay for a movable tree; null when it is not.
    HANDLE BaseHandle() const;

  private:
    bool HoldParentOf(const char* path);
    bool Hold(size_t end);
    bool OnTheWay(size_t end) const { return end <= m_baseLength; }
    bool Remove(const char* path, bool folder, bool onlyOneName = false);
    HANDLE OpenItself(const char* path, DWORD access) const;
    bool IsWhereRecorded(HANDLE item, const char* path) const;
    void Release(size_t count);

    // A path of 259 bytes has at most this many folders.
    enum { kMostHeld = text::kPathBufferSize / 2 };
    PathBuffer m_base;
    size_t m_baseLength = 0;
    size_t m_rootLength = 0;
    bool m_canHold = false;
    bool m_movable = false;
    DWORD m_linkItself = 0; // the flag that opens a link rather than its target
    // The base as its final path names it (a substituted or mapped drive
    // resolved, long names); empty before it is held or without final paths.
    PathBuffer m_resolvedBase;
    // The folders held: m_path's first m_ends[i] bytes, each a handle.
    PathBuffer m_path;
    CFileHandle m_held[kMostHeld];
    size_t m_ends[kMostHeld];
    size_t m_count = 0;
    // The folders of the way stay held: m_held's first m_way.
    size_t m_way = 0;
    WayVerdict m_verdict = WayVerdict::Held;
};

// Marks what `item` opens (with DELETE access) to be deleted when its last
// handle closes; false on Windows 95 and 98, which have no such mark.
bool DeleteOnClose(HANDLE item);

// Gives what `item` opens (with DELETE access) the name `to`, an absolute
// path on the same volume that must not exist yet; without a handle
// (Windows 95 and 98) moves `from` by its path.
bool MoveItem(HANDLE item, const char* from, const char* to);

// Whether Windows can hold folders open (NT): on Windows 95 and 98 setup
// goes by paths.
bool CanHoldFolders();

// The number of names the file at `path` has (hard links); 0 when it
// cannot be opened. A file with more than one is never setup's own.
DWORD LinksOf(const char* path);

// Clears the read-only attribute of the file or folder `path` through a
// handle that opens it as itself: a link's target is never changed.
void ClearReadOnly(const char* path);

// Whether every folder on the way to `folder` can be held and none is a
// link; else `named` names the first that is not: for the process that did
// not hold the way itself.
WayVerdict CheckWay(const char* folder, PathBuffer& named);
