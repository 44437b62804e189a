#include "common/FilesInUse.h"

#include <windows.h>

#include <restartmanager.h>
#include <string.h>

#include <memory>

#include "platform/FindFile.h"
#include "platform/LibrarySearch.h"

namespace {

typedef DWORD(WINAPI* RmStartSessionProc)(DWORD* session, DWORD flags, WCHAR* key);
typedef DWORD(WINAPI* RmRegisterResourcesProc)(DWORD session, UINT files, LPCWSTR* names,
                                               UINT applications, RM_UNIQUE_PROCESS* processes,
                                               UINT services, LPCWSTR* serviceNames);
typedef DWORD(WINAPI* RmGetListProc)(DWORD session, UINT* needed, UINT* count,
                                     RM_PROCESS_INFO* programs, DWORD* reasons);
typedef DWORD(WINAPI* RmEndSessionProc)(DWORD session);

const char* const kManagerCalls[] = {"RmStartSession", "RmRegisterResources", "RmGetList",
                                     "RmEndSession"};

// The items whose users the Restart Manager is asked for, the held ones
// and the programs and libraries, as many as fit; and the programs it
// names.
enum { kMostAsked = 32, kMostNamed = 8 };

struct Walk {
    InUseReport* report;
    DWORD itself;
    bool held;
    UINT asked;
    LPCWSTR names[kMostAsked];
    WCHAR paths[kMostAsked][MAX_PATH];
    RM_PROCESS_INFO programs[kMostNamed];
};

bool IsImage(const char* name) {
    const char* extension = strrchr(name, '.');
    return extension && (_stricmp(extension, ".exe") == 0 || _stricmp(extension, ".dll") == 0);
}

// Each item is opened as itself (a link below, never what it leads to), to
// read and sharing nothing.
bool Probe(void* context, const char* path, const CFindFile& entry) {
    Walk& walk = *static_cast<Walk*>(context);
    HANDLE item = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | walk.itself, nullptr);
    bool held = item == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
    if (item != INVALID_HANDLE_VALUE)
        CloseHandle(item);
    if (held) {
        walk.held = true;
        walk.report->HeldItem(path);
    }
    UINT at = walk.asked;
    if ((held || (!entry.IsFolder() && IsImage(entry.Name()))) && at < kMostAsked &&
        MultiByteToWideChar(CP_ACP, 0, path, -1, walk.paths[at], MAX_PATH))
        walk.names[walk.asked++] = walk.paths[at];
    return true;
}

// Tells the programs that use what `walk` asks about; true when there are
// any (more than can be named: nameless).
bool NamePrograms(Walk& walk, HMODULE manager) {
    // Through a function type without parameters, which converts to any.
    void (*calls[4])();
    for (int i = 0; i < 4; ++i) {
        calls[i] = reinterpret_cast<void (*)()>(GetProcAddress(manager, kManagerCalls[i]));
        if (!calls[i])
            return false;
    }
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1];
    if (reinterpret_cast<RmStartSessionProc>(calls[0])(&session, 0, key) != ERROR_SUCCESS)
        return false;
    UINT needed = 0, count = kMostNamed;
    DWORD reasons = 0;
    DWORD listed = reinterpret_cast<RmRegisterResourcesProc>(calls[1])(
        session, walk.asked, walk.names, 0, nullptr, 0, nullptr);
    if (listed == ERROR_SUCCESS)
        listed = reinterpret_cast<RmGetListProc>(calls[2])(session, &needed, &count, walk.programs,
                                                           &reasons);
    reinterpret_cast<RmEndSessionProc>(calls[3])(session);
    if (listed != ERROR_SUCCESS)
        return listed == ERROR_MORE_DATA;
    for (UINT i = 0; i < count; ++i) {
        char name[CCH_RM_MAX_APP_NAME + 1];
        if (WideCharToMultiByte(CP_ACP, 0, walk.programs[i].strAppName, -1, name, sizeof name,
                                nullptr, nullptr))
            walk.report->HeldBy(name);
    }
    return count > 0;
}

} // namespace

bool FindFilesInUse(const char* folder, InUseReport& report) {
    std::unique_ptr<Walk> walk(new Walk);
    if (!walk)
        return false;
    walk->report = &report;
    // NT 4 has no flag that opens a link as itself, and no links.
    BYTE version = LOBYTE(LOWORD(GetVersion()));
    walk->itself = version >= 5 ? FILE_FLAG_OPEN_REPARSE_POINT : 0;
    walk->held = false;
    walk->asked = 0;
    WalkBelow(folder, false, Probe, walk.get());
    CLibrary manager(walk->asked && version >= 6 ? LoadSystemLibrary("rstrtmgr.dll") : CLibrary());
    if (manager)
        walk->held = NamePrograms(*walk, manager.Get()) || walk->held;
    return walk->held;
}

void InUseList::HeldItem(const char* path) {
    if (!what[0])
        CopyText(what, sizeof what, path);
}

void InUseList::HeldBy(const char* program) {
    if (!m_named)
        what[0] = '\0';
    m_named = true;
    size_t length = strlen(what);
    FormatText(what + length, sizeof what - length, length ? ", %s" : "%s", program);
}

bool NoProgramHolds(const char* folder, RetryInUse retry, void* context) {
    for (;;) {
        InUseList found;
        if (!FindFilesInUse(folder, found))
            return true;
        if (!retry(context, found))
            return false;
    }
}
