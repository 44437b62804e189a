// The process's entry point. Setup.exe links without the C runtime's
// start-up objects (-nostartfiles): msvcrt.dll initialises itself when it
// loads, and the program needs nothing else those objects bring (arguments
// for main, thread-local storage, relocations of data imported without
// dllimport, an exception filter that only forwards to signal handlers the
// program never sets, a reset of the x87 unit for floating-point code it
// does not have). What is left is done here: the global constructors, the
// application object's start routine, and the end through exit, which runs
// what atexit registered (the global objects' destructors) and makes the
// start routine's result the process's exit code. The program has no
// message loop of its own; its modal dialogs run theirs.

#include <stdint.h>
#include <stdlib.h>

#include "platform/Application.h"
#include "platform/StackGuard.h"

// Tells msvcrt.dll that it serves a GUI program, as the runtime's start-up
// code does: its own fatal errors then show a message box.
extern "C" void __cdecl __set_app_type(int type);

// Laid out by the linker's default script right after the code: -1, the
// functions, 0, and at once the destructor list. The code is packed to the
// byte (cmake/pack-code.sh), so the -1 can start at any address, while the
// compiler aligns the functions' entries to four bytes: fill bytes may lie
// between the -1 and the first entry. The entries are therefore the aligned
// words after the -1, up to the 0 that ends before the destructor list. That
// list stays empty (GCC registers global objects' destructors through
// atexit, and the program has no destructor functions; the size check
// refuses a link that fills it), so nothing runs it.
extern "C" char __CTOR_LIST__[];
extern "C" char __DTOR_LIST__[];

// The compiler registers the global objects' destructors here; msvcrt.dll's
// exit runs them, last registered first.
extern "C" int __cdecl atexit(void(__cdecl* function)()) {
    return _onexit((_onexit_t)function) ? 0 : -1;
}

namespace {

enum { kGuiApp = 2 };

typedef void (*Constructor)();

// Last to first, in the order GCC's own start-up code runs them.
void RunConstructors() {
    const uintptr_t align = sizeof(Constructor) - 1;
    uintptr_t first = (uintptr_t(__CTOR_LIST__) + sizeof(Constructor) + align) & ~align;
    for (uintptr_t end = uintptr_t(__DTOR_LIST__) - sizeof(Constructor); end > first;) {
        end -= sizeof(Constructor);
        (*reinterpret_cast<Constructor*>(end))();
    }
}

int RunApplication() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return 0;
    app->PrepareProcess();
    if (app->InitInstance())
        return 0;
    return app->ExitInstance();
}

} // namespace

extern "C" [[noreturn]] void SetupStart() {
    SeedStackGuard();
    __set_app_type(kGuiApp);
    RunConstructors();
    exit(RunApplication());
}
