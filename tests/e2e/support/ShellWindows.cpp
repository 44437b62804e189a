#include "ShellWindows.h"

#include <windows.h>

#include <exdisp.h>
#include <shlobj.h>

#include <stdlib.h>

#include <stdexcept>
#include <string>

#include "tools/windriver/Wait.h"

namespace e2e {

namespace {

// Whether ShellWindows names the desktop's window with its automation
// object, the first two steps of a start through the desktop's shell.
bool DesktopShellAnswers() {
    IShellWindows* windows = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows,
                                reinterpret_cast<void**>(&windows))))
        return false;
    VARIANT location = {};
    V_VT(&location) = VT_I4;
    V_I4(&location) = CSIDL_DESKTOP;
    VARIANT root = {};
    LONG window = 0;
    IDispatch* desktop = nullptr;
    windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, &desktop);
    windows->Release();
    if (!desktop)
        return false;
    desktop->Release();
    return true;
}

} // namespace

bool IsVistaOrLater() {
    const char* version = getenv("E2E_WINDOWS");
    return !version || std::string(version) == "win10";
}

bool WaitForDesktopShell() {
    if (!GetDesktopWindow())
        return false;
    CoInitialize(nullptr);
    bool answered = true;
    try {
        windriver::WaitUntil(DesktopShellAnswers, "the desktop's shell");
    } catch (const std::runtime_error&) {
        answered = false;
    }
    CoUninitialize();
    return answered;
}

} // namespace e2e
