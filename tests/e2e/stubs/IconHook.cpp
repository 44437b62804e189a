// A hook that the tests set for every program of the prefix (Process::Start):
// it names the icon of each message box. Under Wine another process cannot
// look into an icon, only see that there is one; inside the program that
// shows the box the icon's resource number can be read, and a window
// property carries it to any process (kIconProperty).

#define _WIN32_WINNT 0x0600
#include <windows.h>

#include "support/StandInNames.h"

// A message box gives its icon control the system icon with STM_SETICON.
extern "C" __declspec(dllexport) LRESULT CALLBACK
    NameIcons(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == STM_SETICON && call->wParam) {
        ICONINFOEXA icon{};
        icon.cbSize = sizeof icon;
        if (GetIconInfoExA(reinterpret_cast<HICON>(call->wParam), &icon)) {
            SetPropA(call->hwnd, e2e::kIconProperty,
                     reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(icon.wResID)));
            DeleteObject(icon.hbmMask);
            DeleteObject(icon.hbmColor);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
