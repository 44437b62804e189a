#pragma once
// Functions looked up at run time, for calls that the oldest systems lack:
// a static import of one would keep the program from starting there.

#include <windows.h>

// The function `name` of `module` (which may be null) as a `Proc`; null when
// the module lacks it.
template <class Proc> Proc LibraryProc(HMODULE module, const char* name) {
    if (!module)
        return nullptr;
    // Through a function type without parameters, which converts to any.
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// KERNEL32, which every process has loaded (in platform/LibrarySearch.cpp:
// one copy of the lookup and of its name for all the callers).
HMODULE KernelModule();

template <class Proc> Proc KernelProc(const char* name) {
    return LibraryProc<Proc>(KernelModule(), name);
}
