// The framework's entry point: prepares the process and runs the
// application object's start routine once. The program has no message loop
// of its own; its modal dialogs run theirs.

#include "platform/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return 0;
    app->PrepareProcess();
    if (app->InitInstance())
        return 0;
    return app->ExitInstance();
}
