// Runs the setup dialog's machine probes in a process of its own, prepared
// as Setup.exe prepares itself (error mode, application name), and prints
// their answers as key=value lines on stdout. The dialog has no window, so
// its message boxes have no owner.
//
// usage: e2e_probe COMMAND...   (run in order)
//   source-root      root=D:\                 (or the not-found message and exit -1)
//   glide            glide=1|0, loaded-after=1|0
//   glide-by-name    by-name=1|0: whether "glide2x.dll" loads by its bare
//                    name, through the process's library search
//   programs-folder  programs-found=1|0, programs=PATH
//   pause            paused=1, then waits (kTimeoutMs at most) until the event
//                    kProbeContinueEvent is set: the test changes the drives meanwhile

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <iterator>

#include "common/Shortcut.h"
#include "install/Installation.h"
#include "install/SourceMedium.h"
#include "platform/Application.h"
#include "support/StandInNames.h"
#include "tools/windriver/Wait.h"

namespace {

CWinApp s_app;

// As the dialog does: the message, then the end.
void PrintSourceRoot() {
    char root[MAX_PATH] = "";
    if (!FindMediumRoot(root)) {
        MessageBoxA(nullptr, kNoMedium.text.english, kNoMedium.caption.english, kNoMedium.style);
        exit(kExitNoMedium);
    }
    printf("root=%s\n", root);
}

void PrintGlide() {
    bool present = GlideDriverInstalled();
    printf("glide=%d\nloaded-after=%d\n", present, GetModuleHandleA("glide2x.dll") != nullptr);
}

void PrintGlideByName() {
    HMODULE glide = LoadLibraryA("glide2x.dll");
    printf("by-name=%d\n", glide ? 1 : 0);
    if (glide)
        FreeLibrary(glide);
}

void PrintProgramsFolder() {
    char path[MAX_PATH] = "(untouched)";
    bool found = ProgramsFolderFor(nullptr, path);
    printf("programs-found=%d\nprograms=%s\n", found, path);
}

void Pause() {
    printf("paused=1\n");
    fflush(stdout);
    HANDLE resume = OpenEventA(SYNCHRONIZE, FALSE, e2e::kProbeContinueEvent);
    if (resume) {
        WaitForSingleObject(resume, windriver::kTimeoutMs);
        CloseHandle(resume);
    }
}

struct Command {
    const char* name;
    void (*run)();
};

const Command kCommands[] = {
    {"source-root", PrintSourceRoot},
    {"glide", PrintGlide},
    {"glide-by-name", PrintGlideByName},
    {"programs-folder", PrintProgramsFolder},
    {"pause", Pause},
};

} // namespace

int main(int argc, char** argv) {
    s_app.PrepareProcess();
    for (int i = 1; i < argc; ++i) {
        const Command* command = kCommands;
        while (command != std::end(kCommands) && strcmp(argv[i], command->name) != 0)
            ++command;
        if (command == std::end(kCommands)) {
            fprintf(stderr, "unknown command: %s\n", argv[i]);
            return 2;
        }
        command->run();
        fflush(stdout);
    }
    return 0;
}
