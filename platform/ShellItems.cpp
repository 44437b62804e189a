#include "platform/ShellItems.h"

#include <string.h>

#include "platform/ComRef.h"

void FreeShellItemList(LPITEMIDLIST items) {
    CComRef<IMalloc> allocator;
    if (SUCCEEDED(SHGetMalloc(allocator.Out())) && allocator)
        allocator->Free(items);
}

bool SpecialFolderPath(HWND owner, int csidl, char* path) {
    LPITEMIDLIST items = nullptr;
    SHGetSpecialFolderLocation(owner, csidl, &items);
    if (!items)
        return false;
    bool found = ShellItemPath(items, path);
    FreeShellItemList(items);
    return found;
}

bool ShellItemPath(LPCITEMIDLIST items, char* path) {
    char converted[MAX_PATH];
    if (!SHGetPathFromIDListA(items, converted))
        return false;
    memcpy(path, converted, strlen(converted) + 1);
    return true;
}
