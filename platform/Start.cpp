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

#include <stdlib.h>

#include "platform/Application.h"
#include "platform/StackGuard.h"

// Tells msvcrt.dll that it serves a GUI program, as the runtime's start-up
// code does: its own fatal errors then show a message box.
extern "C" void __cdecl __set_app_type(int type);

// Laid out by the linker's default script: -1, the functions, 0.
extern "C" void (*__CTOR_LIST__[])();
extern "C" void (*__DTOR_LIST__[])();

// The compiler registers the global objects' destructors here; msvcrt.dll's
// exit runs them, last registered first.
extern "C" int __cdecl atexit(void(__cdecl* function)()) {
    return _onexit((_onexit_t)function) ? 0 : -1;
}

namespace {

enum { kGuiApp = 2 };

// Constructors last to first and destructors first to last, in the order
// GCC's own start-up code runs them.
void RunConstructors() {
    void (**entry)() = __CTOR_LIST__ + 1;
    while (*entry)
        ++entry;
    while (--entry != __CTOR_LIST__)
        (*entry)();
}

void __cdecl RunDestructors() {
    for (void (**entry)() = __DTOR_LIST__ + 1; *entry; ++entry)
        (*entry)();
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
    atexit(RunDestructors);
    exit(RunApplication());
}
