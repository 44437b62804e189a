#include "platform/ShellItems.h"

#include <string.h>

void FreeShellItemList(LPITEMIDLIST items) {
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(items);
        allocator->Release();
    }
}

bool ShellItemPath(LPCITEMIDLIST items, char* path) {
    char converted[MAX_PATH];
    if (!SHGetPathFromIDListA(items, converted))
        return false;
    memcpy(path, converted, strlen(converted) + 1);
    return true;
}
