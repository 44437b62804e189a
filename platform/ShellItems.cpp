#include "platform/ShellItems.h"

#include <string.h>

#include "platform/ComRef.h"

void CShellItemList::Reset() {
    CComRef<IMalloc> allocator;
    // The shell's allocator takes a null list as nothing to free.
    if (SUCCEEDED(SHGetMalloc(allocator.Out())) && allocator)
        allocator->Free(m_items);
    m_items = nullptr;
}

bool SpecialFolderPath(HWND owner, int csidl, char* path) {
    CShellItemList items;
    SHGetSpecialFolderLocation(owner, csidl, items.Out());
    return items && ShellItemPath(items.Get(), path);
}

bool ShellItemPath(LPCITEMIDLIST items, char* path) {
    char converted[MAX_PATH];
    if (!SHGetPathFromIDListA(items, converted))
        return false;
    memcpy(path, converted, strlen(converted) + 1);
    return true;
}
