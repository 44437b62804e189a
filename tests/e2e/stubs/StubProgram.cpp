// A stand-in for the game and for an installation's Setup.exe: records that
// it was started (its own path, its current directory, the process that
// started it and its command line) as one line of C:\stub-starts.log and
// exits. It has no window and no
// console, like a program started by the shell would have.

#include <windows.h>

#include <tlhelp32.h>

#include <stdio.h>

static const char kLogPath[] = "C:\\stub-starts.log";

// Appends `line`. Stubs started at the same moment write side by side, and
// the test reads while they write: every write is one whole line at the end.
static bool AppendToLog(const char* line, DWORD length) {
    HANDLE log = CreateFileA(kLogPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(log, line, length, &written, nullptr);
    CloseHandle(log);
    return ok && written == length;
}

// The process `id`'s entry in a snapshot of all processes; false when it
// has ended.
static bool FindProcess(HANDLE snapshot, DWORD id, PROCESSENTRY32* entry) {
    entry->dwSize = sizeof *entry;
    for (BOOL more = Process32First(snapshot, entry); more; more = Process32Next(snapshot, entry))
        if (entry->th32ProcessID == id)
            return true;
    return false;
}

// The id and program name of the process that started this one; 0 and an
// empty name when they cannot be found.
static void FindParent(DWORD* id, char (&name)[MAX_PATH]) {
    *id = 0;
    name[0] = '\0';
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32 entry;
    if (FindProcess(snapshot, GetCurrentProcessId(), &entry)) {
        *id = entry.th32ParentProcessID;
        if (FindProcess(snapshot, *id, &entry))
            lstrcpynA(name, entry.szExeFile, MAX_PATH);
    }
    CloseHandle(snapshot);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char self[MAX_PATH];
    char directory[MAX_PATH];
    if (!GetModuleFileNameA(nullptr, self, sizeof self))
        self[0] = '\0';
    if (!GetCurrentDirectoryA(sizeof directory, directory))
        directory[0] = '\0';
    DWORD parentId;
    char parent[MAX_PATH];
    FindParent(&parentId, parent);
    char line[4 * MAX_PATH + 1024];
    int length = snprintf(line, sizeof line, "%s\t%s\t%lu\t%s\t%s\r\n", self, directory, parentId,
                          parent, GetCommandLineA());
    if (length < 0 || length >= static_cast<int>(sizeof line))
        return 2;
    return AppendToLog(line, static_cast<DWORD>(length)) ? 0 : 1;
}
