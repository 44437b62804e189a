#pragma once
// Item identifier lists handed out by the shell (folder locations, the
// folder picker's choice), freed with the shell's own allocator.

#include <shlobj.h>

// One item list, freed when it goes out of scope.
class CShellItemList {
  public:
    CShellItemList() = default;
    explicit CShellItemList(LPITEMIDLIST items) : m_items(items) {}
    ~CShellItemList() { Reset(); }
    CShellItemList(const CShellItemList&) = delete;
    CShellItemList& operator=(const CShellItemList&) = delete;

    explicit operator bool() const { return m_items != nullptr; }
    LPCITEMIDLIST Get() const { return m_items; }
    // For a call that hands out a list; any list held before is freed.
    LPITEMIDLIST* Out() {
        Reset();
        return &m_items;
    }
    // Frees the list held; holds none afterwards.
    void Reset();

  private:
    LPITEMIDLIST m_items = nullptr;
};

// The file-system path of `items` into `path` (MAX_PATH bytes); false, with
// `path` untouched, when the items name no file-system folder.
bool ShellItemPath(LPCITEMIDLIST items, char* path);

// The file-system path of the shell's special folder `csidl` into `path`
// (MAX_PATH bytes), the shell's windows owned by `owner`; false, with `path`
// untouched, when the shell gives no item list for it or it has no path.
// Only whether an item list came back counts, not the result code.
bool SpecialFolderPath(HWND owner, int csidl, char* path);
