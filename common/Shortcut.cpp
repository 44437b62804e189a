// The shell link maker and the Start Menu Programs folder.

#include "common/Shortcut.h"

#include <objbase.h>
#include <shlobj.h>

#include "platform/ComRef.h"
#include "platform/ShellItems.h"

namespace {

// In process, in a handler or in a local server: whichever the system has.
const DWORD kLinkClassContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

// Creates the shell link object. Failures go to the debugger output only; a
// success code other than S_OK is reported there too but still gives a link.
HRESULT CreateLinkObject(IShellLinkA** link) {
    HRESULT r = CoCreateInstance(CLSID_ShellLink, nullptr, kLinkClassContext, IID_PPV_ARGS(link));
    if (r == CLASS_E_NOAGGREGATION)
        OutputDebugStringA("No aggregation...\n");
    else if (r == REGDB_E_CLASSNOTREG)
        OutputDebugStringA("Class not registered...\n");
    else if (r != S_OK)
        OutputDebugStringA("Unknown error...\n");
    return r;
}

// Saves the link through its file interface under `linkPath`, which the
// interface takes as UTF-16, or loads it from there.
HRESULT SaveOrLoadLink(IShellLinkA* link, const char* linkPath, bool save) {
    CComRef<IPersistFile> file;
    HRESULT r = link->QueryInterface(IID_PPV_ARGS(file.Out()));
    if (FAILED(r))
        return r;
    WCHAR widePath[MAX_PATH];
    // A path that does not fit would be saved unterminated or cut short.
    if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH) == 0)
        return HRESULT_FROM_WIN32(GetLastError());
    return save ? file->Save(widePath, TRUE) : file->Load(widePath, STGM_READ);
}

HRESULT WriteLink(const char* target, const char* linkPath, const char* description,
                  const char* workingDir) {
    CComRef<IShellLinkA> link;
    HRESULT r = CreateLinkObject(link.Out());
    if (FAILED(r))
        return r;
    // A property that cannot be set leaves the object's default; the link
    // is still written.
    link->SetPath(target);
    link->SetDescription(description);
    link->SetWorkingDirectory(workingDir);
    return SaveOrLoadLink(link.Get(), linkPath, true);
}

} // namespace

HRESULT CreateShortcut(const char* target, const char* linkPath, const char* description,
                       const char* workingDir) {
    // Single-threaded, as every thread of this program; a repeated
    // initialisation (S_FALSE) still needs its CoUninitialize.
    CoInitialize(nullptr);
    HRESULT r = WriteLink(target, linkPath, description, workingDir);
    CoUninitialize();
    return r;
}

bool ReadShortcutTarget(const char* linkPath, char* target) {
    CoInitialize(nullptr);
    bool read = false;
    {
        CComRef<IShellLinkA> link;
        // The path as stored, without the shell resolving it.
        read = SUCCEEDED(CreateLinkObject(link.Out())) &&
               SUCCEEDED(SaveOrLoadLink(link.Get(), linkPath, false)) &&
               link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK;
    } // released before COM is closed
    CoUninitialize();
    return read;
}

bool ProgramsFolderFor(HWND owner, char* path) {
    // The installation is the machine's, so its shortcuts go where every
    // user sees them; systems without user profiles (Windows 95 and 98
    // without them) give no item list for it and have only the user's.
    CShellItemList items;
    SHGetSpecialFolderLocation(owner, CSIDL_COMMON_PROGRAMS, items.Out());
    if (!items)
        return SpecialFolderPath(owner, CSIDL_PROGRAMS, path);
    // A location without a file-system path leaves `path` untouched.
    return ShellItemPath(items.Get(), path);
}
