// The guard that GCC's -fstack-protector code checks (the code that reads
// files is built with it), in place of libssp, which the program does not
// link: the value each guarded frame keeps below its arrays, and what
// happens when a frame finds it changed on return.

#include <windows.h>

#include <stdint.h>

#include "platform/StackGuard.h"

extern "C" {

// Given its value by SeedStackGuard before any guarded function runs. Zero
// until then, so that it costs the file no data section of its own.
uintptr_t __stack_chk_guard;

// A guarded frame's arrays overran their bounds: the stack can no longer be
// trusted to return, unwind or run handlers, so the process ends at once
// with the status Windows gives a stack buffer overrun.
[[noreturn]] void __stack_chk_fail() {
    TerminateProcess(GetCurrentProcess(), 0xC0000409u); // STATUS_STACK_BUFFER_OVERRUN
    for (;;) {
    }
}

} // extern "C"

void SeedStackGuard() {
    // What an attacker cannot read from outside: the counter's ticks and
    // where the system put this stack and the program (ASLR).
    LARGE_INTEGER ticks = {};
    QueryPerformanceCounter(&ticks);
    uintptr_t seed = (uintptr_t)ticks.LowPart ^ (uintptr_t)ticks.HighPart << 13 ^
                     (uintptr_t)&ticks ^ (uintptr_t)GetModuleHandleA(nullptr) << 3;
    // The low byte zero, as glibc's guard has it: a string copy stops at it,
    // so an overrun by a C string cannot write the guard back unchanged. A
    // bit above it set, so that the guard is never zero.
    __stack_chk_guard = (seed & ~(uintptr_t)0xFF) | 0x100;
}
