#include "install/Elevation.h"

#include <shellapi.h>
#include <string.h>

#include "install/DesktopShell.h"
#include "install/ExitCodes.h"
#include "install/PathRules.h"
#include "platform/ThisProgram.h"

bool NeedsElevation() {
    char hook[2] = "";
    DWORD length = GetEnvironmentVariableA("VELLMOR_SETUP_RELAUNCH", hook, sizeof hook);
    if (length == 1 && hook[0] == '1')
        return true;
    return LOBYTE(LOWORD(GetVersion())) >= 6 && !IsElevatedOnVistaOrLater();
}

namespace {

// Keeps this thread's windows painted until `process` ends. A message box
// that the elevated part shows over `owner` enables it again when it
// closes: it is disabled again each time.
void WaitPainting(HANDLE process, HWND owner) {
    for (;;) {
        if (owner && IsWindowEnabled(owner))
            EnableWindow(owner, FALSE);
        DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1)
            return;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

} // namespace

int RunElevated(const char* arguments, HWND owner) {
    PathBuffer self;
    if (!ThisProgramPath(self))
        return kExitNotElevated;
    SHELLEXECUTEINFOA start = {};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    start.hwnd = owner;
    start.lpVerb = "runas";
    start.lpFile = self;
    start.lpParameters = arguments;
    start.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&start) || !start.hProcess)
        return kExitNotElevated;
    if (owner)
        EnableWindow(owner, FALSE);
    WaitPainting(start.hProcess, owner);
    if (owner)
        EnableWindow(owner, TRUE);
    DWORD code = (DWORD)kExitNotElevated;
    GetExitCodeProcess(start.hProcess, &code);
    CloseHandle(start.hProcess);
    return (int)code;
}
