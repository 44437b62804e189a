#pragma once
// Item identifier lists handed out by the shell (folder locations, the
// folder picker's choice), freed with the shell's own allocator.

#include <shlobj.h>

void FreeShellItemList(LPITEMIDLIST items);

// The file-system path of `items` into `path` (MAX_PATH bytes); false, with
// `path` untouched, when the items name no file-system folder.
bool ShellItemPath(LPCITEMIDLIST items, char* path);

// The file-system path of the shell's special folder `csidl` into `path`
// (MAX_PATH bytes), the shell's windows owned by `owner`; false, with `path`
// untouched, when the shell gives no item list for it or it has no path.
// Only whether an item list came back counts, not the result code.
bool SpecialFolderPath(HWND owner, int csidl, char* path);
