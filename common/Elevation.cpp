#include "common/Elevation.h"

#include <shellapi.h>
#include <string.h>

#include "common/ExitCodes.h"
#include "common/PathRules.h"
#include "platform/Handle.h"
#include "platform/ProcAddress.h"
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

int RunElevated(const char* arguments, HWND owner, DWORD* refused) {
    DWORD ignored = 0;
    DWORD& failure = refused ? *refused : ignored;
    failure = 0;
    PathBuffer self;
    SHELLEXECUTEINFOA start = {};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    start.hwnd = owner;
    start.lpVerb = "runas";
    start.lpFile = self;
    start.lpParameters = arguments;
    start.nShow = SW_SHOWNORMAL;
    SetLastError(0);
    bool started = ThisProgramPath(self) && ShellExecuteExA(&start);
    CHandle process(start.hProcess);
    if (!started || !process) {
        // The user's No is ERROR_CANCELLED, and says all there is to say.
        DWORD error = GetLastError();
        failure = error == ERROR_CANCELLED ? 0 : error ? error : ERROR_GEN_FAILURE;
        return kExitNotElevated;
    }
    if (owner)
        EnableWindow(owner, FALSE);
    WaitPainting(process.Get(), owner);
    if (owner)
        EnableWindow(owner, TRUE);
    DWORD code = (DWORD)kExitNotElevated;
    GetExitCodeProcess(process.Get(), &code);
    return (int)code;
}

namespace {

// The system's names (winnt.h, Windows 10 SDKs and later), which older
// headers lack: the policy's number among the mitigation policies, and its
// flags, of which bit 0 is EnforceRedirectionTrust.
const int kProcessRedirectionTrustPolicy = 16;
struct RedirectionTrustPolicy {
    DWORD flags;
};
const DWORD kEnforceRedirectionTrust = 0x1;

typedef BOOL(WINAPI* SetProcessMitigationPolicyProc)(int policy, void* buffer, SIZE_T length);

} // namespace

void EnableRedirectionGuard() {
    // Windows 8 and later have the call; Windows 10 and 11 before the
    // policy answer it with an error, which changes nothing.
    auto setPolicy = KernelProc<SetProcessMitigationPolicyProc>("SetProcessMitigationPolicy");
    RedirectionTrustPolicy policy = {kEnforceRedirectionTrust};
    if (setPolicy)
        setPolicy(kProcessRedirectionTrustPolicy, &policy, sizeof policy);
}

namespace {

// Looked up at run time, on Windows Vista and later only: the token calls
// are not documented for Windows 95.
typedef BOOL(WINAPI* OpenProcessTokenProc)(HANDLE process, DWORD access, HANDLE* token);
typedef BOOL(WINAPI* GetTokenInformationProc)(HANDLE token, TOKEN_INFORMATION_CLASS kind,
                                              void* data, DWORD size, DWORD* used);

} // namespace

bool IsElevatedOnVistaOrLater() {
    if (LOBYTE(LOWORD(GetVersion())) < 6)
        return false;
    // Already loaded: setup imports other functions of it.
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    auto openToken = LibraryProc<OpenProcessTokenProc>(advapi, "OpenProcessToken");
    auto queryToken = LibraryProc<GetTokenInformationProc>(advapi, "GetTokenInformation");
    CHandle token;
    if (!openToken || !queryToken || !openToken(GetCurrentProcess(), TOKEN_QUERY, token.Out()))
        return false;
    TOKEN_ELEVATION elevation = {};
    DWORD used = 0;
    return queryToken(token.Get(), TokenElevation, &elevation, sizeof elevation, &used) &&
           elevation.TokenIsElevated;
}

int RunElevatedPart(const SetupOptions& options, DWORD* refused) {
    char arguments[4 * MAX_PATH];
    if (!FormatElevatedCommandLine(arguments, sizeof arguments, options))
        return kExitUsage;
    return RunElevated(arguments, nullptr, refused);
}
