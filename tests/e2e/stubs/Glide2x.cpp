// A library that stands in for the Glide 2.x driver: setup only checks that
// "glide2x.dll" loads, so it needs nothing but to load. Each load appends
// the path it was loaded from to C:\glide-loads.log, so that a test can tell
// which copy ran, or that none did.

#include <windows.h>

static void LogLoad(HINSTANCE self) {
    char line[MAX_PATH + 2];
    DWORD length = GetModuleFileNameA(self, line, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    line[length++] = '\r';
    line[length++] = '\n';
    HANDLE log =
        CreateFileA("C:\\glide-loads.log", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(log, line, length, &written, nullptr);
    CloseHandle(log);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        LogLoad(self);
    return TRUE;
}

// Something to export, as a driver library would.
extern "C" __declspec(dllexport) void __stdcall grGlideInit() {}
