// The demo medium's renderer libraries: "Glide\Glide2x.dll", which setup
// copies into an installation on a machine without a Glide driver, and the
// "SetupGlide.dll" placeholder of the product folder, which it then deletes.
// They only load and tell their name; RENDERER_NAME is set by the build.

#include <windows.h>

#include <stdio.h>

#ifndef RENDERER_NAME
#error RENDERER_NAME must name the library
#endif

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}

// Copies the library's name into `buffer` (at most `size` bytes, NUL
// included) and answers the length of the whole name.
extern "C" __declspec(dllexport) int __stdcall VellmorRendererName(char* buffer, int size) {
    if (buffer && size > 0)
        snprintf(buffer, static_cast<size_t>(size), "%s", RENDERER_NAME);
    return static_cast<int>(sizeof RENDERER_NAME) - 1;
}
