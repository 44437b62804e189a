#pragma once
// Functions looked up at run time, for calls that the oldest systems lack:
// a static import of one would keep the program from starting there.

#include <windows.h>

// `name` in `module` as the function type `Proc`; null when either is
// missing.
template <class Proc> Proc ProcIn(HMODULE module, const char* name) {
    if (!module)
        return nullptr;
    // Through a function type without parameters, which converts to any.
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

template <class Proc> Proc KernelProc(const char* name) {
    return ProcIn<Proc>(GetModuleHandleA("kernel32.dll"), name);
}
