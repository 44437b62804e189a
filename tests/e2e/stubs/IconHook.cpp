// A hook that the tests set for every program of the prefix (Process::Start):
// it names the icon of each message box. Under Wine another process cannot
// look into an icon, only see that there is one; inside the program that
// shows the box the icon's resource number can be read, and a window
// property carries it to any process (kIconProperty). The same way each
// dialog carries its program's error mode (kErrorModeProperty), and in a
// program named Setup.exe each shell copy is written to kCopyLog before it
// runs: Wine shows no progress window whose title could be read.

#define _WIN32_WINNT 0x0600
#include <windows.h>

#include <shellapi.h>

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
    if (code == HC_ACTION && call->message == WM_INITDIALOG)
        SetPropA(
            call->hwnd, e2e::kErrorModeProperty,
            reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(e2e::kErrorModeSet | GetErrorMode())));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

namespace {

typedef int(WINAPI* CopyProc)(SHFILEOPSTRUCTA* operation);
CopyProc s_copy;

// Logs the copy's owner, flags and progress title, then runs it.
int WINAPI LogCopy(SHFILEOPSTRUCTA* operation) {
    char line[512];
    int length = wsprintfA(line, "owner=%lu flags=0x%04X title=%s\r\n",
                           static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(operation->hwnd)),
                           operation->fFlags,
                           operation->lpszProgressTitle ? operation->lpszProgressTitle : "");
    HANDLE log = CreateFileA(e2e::kCopyLog, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(log, line, static_cast<DWORD>(length), &written, nullptr);
        CloseHandle(log);
    }
    return s_copy(operation);
}

// Points the program's import of SHFileOperationA at LogCopy.
void LogCopiesOfSetup() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* name = path + length;
    while (name > path && name[-1] != '\\')
        --name;
    HMODULE shell = GetModuleHandleA("shell32.dll");
    s_copy = shell ? reinterpret_cast<CopyProc>(
                         reinterpret_cast<void*>(GetProcAddress(shell, "SHFileOperationA")))
                   : nullptr;
    if (lstrcmpiA(name, "Setup.exe") != 0 || !s_copy)
        return;
    BYTE* image = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const IMAGE_NT_HEADERS* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        image + reinterpret_cast<const IMAGE_DOS_HEADER*>(image)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return;
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(image + imports.VirtualAddress);
         library->Name; ++library) {
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(image + library->FirstThunk);
             slot->u1.Function; ++slot) {
            if (slot->u1.Function != reinterpret_cast<ULONG_PTR>(s_copy))
                continue;
            DWORD protection = 0;
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE,
                           &protection);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(LogCopy);
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
        }
    }
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH)
        LogCopiesOfSetup();
    return TRUE;
}
