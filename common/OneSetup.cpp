#include "common/OneSetup.h"

#include "common/Names.h"

namespace {

HANDLE s_lock = nullptr;

// The mark on setup's window: the lock's name without its namespace.
const char* const kWindowMark = kSetupLock + kGlobalPrefixLength;

BOOL CALLBACK FindMarked(HWND window, LPARAM found) {
    if (!GetPropA(window, kWindowMark))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

} // namespace

// The mutex lives while a run holds a handle to it: the system closes a
// killed run's handle, so nothing is left held. A second setup that only
// looks holds one for a moment, and a third that starts in that moment
// also ends.
bool TakeSetupLock() {
    HANDLE lock = CreateMutexA(nullptr, FALSE, kSetupLock);
    // Another user's run made it, and gave this one no access.
    if (!lock && GetLastError() == ERROR_ACCESS_DENIED)
        return false;
    // Windows 95 and 98, and NT 4 without Terminal Services, know no
    // namespaces and refuse a backslash in the name.
    if (!lock)
        lock = CreateMutexA(nullptr, FALSE, kWindowMark);
    if (lock && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(lock);
        return false;
    }
    s_lock = lock;
    return true;
}

void ReleaseSetupLock() {
    if (s_lock)
        CloseHandle(s_lock);
    s_lock = nullptr;
}

void MarkSetupWindow(HWND window) {
    SetPropA(window, kWindowMark, window);
}

bool BringRunningSetupForward() {
    HWND window = nullptr;
    EnumWindows(FindMarked, reinterpret_cast<LPARAM>(&window));
    if (!window)
        return false;
    if (IsIconic(window))
        SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    // The box the dialog shows (its own, or its elevated part's) is what
    // waits for the user.
    SetForegroundWindow(GetLastActivePopup(window));
    return true;
}
