#pragma once
// Item identifier lists handed out by the shell (folder locations, the
// folder picker's choice), freed with the shell's own allocator.

#include <shlobj.h>

void FreeShellItemList(LPITEMIDLIST items);

// The file-system path of `items` into `path` (MAX_PATH bytes); false, with
// `path` untouched, when the items name no file-system folder.
bool ShellItemPath(LPCITEMIDLIST items, char* path);
