#include "platform/LibrarySearch.h"

#include "platform/ProcAddress.h"
#include "text/Format.h"

namespace {

// Both calls are looked up at run time: a static import of either would
// keep the program from starting on Windows 95 and NT 4.
typedef BOOL(WINAPI* SetDefaultDllDirectoriesProc)(DWORD flags);
typedef BOOL(WINAPI* SetDllDirectoryAProc)(LPCSTR folder);

const DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32

} // namespace

HMODULE KernelModule() {
    return GetModuleHandleA("kernel32.dll");
}

void RestrictLibrarySearchToSystem() {
    auto setDefault = KernelProc<SetDefaultDllDirectoriesProc>("SetDefaultDllDirectories");
    if (setDefault && setDefault(kSearchSystem32))
        return;
    auto setDirectory = KernelProc<SetDllDirectoryAProc>("SetDllDirectoryA");
    if (setDirectory)
        setDirectory("");
}

bool SystemFolderPath(const char* name, char (&path)[MAX_PATH]) {
    char folder[MAX_PATH];
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    return PathInFolder(path, folder, name);
}

CLibrary LoadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    return CLibrary(SystemFolderPath(name, path) ? LoadLibraryA(path) : nullptr);
}
