// A library that stands in for the Glide 2.x driver: setup only checks that
// "glide2x.dll" loads, so it needs nothing but to load.

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}

// Something to export, as a driver library would.
extern "C" __declspec(dllexport) void __stdcall grGlideInit() {}
