// The bare reference of start-up time and size: a dialog of the setup
// dialog's size and controls, shown with DialogBoxParamA, built with the
// product's flags. OK, Cancel and the close box end it.
//
// Built with BENCH_SETUP_IMPORTS it also imports the DLLs that Setup.exe
// imports (ADVAPI32, ole32, SHELL32, COMCTL32), without calling them: what loading
// them adds to the start.

#include <windows.h>

#ifdef BENCH_SETUP_IMPORTS
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <stdlib.h>
#endif

#include "MinimalDialog.h"

namespace {

INT_PTR CALLBACK MinimalProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
#ifdef BENCH_SETUP_IMPORTS
    // Never true when started without arguments; keeps the imports.
    if (__argc > 1000) {
        RegCloseKey(HKEY_CURRENT_USER);
        CoInitialize(nullptr);
        SHFileOperationA(nullptr);
        InitCommonControls();
    }
#endif
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MINIMAL), nullptr, MinimalProc, 0);
}
