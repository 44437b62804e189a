#pragma once
// One installation or removal at a time on the machine. Every run that the
// player (or a script) starts, setup's dialog, its unattended run and the
// uninstaller, holds a mutex in the global namespace, which all sessions
// share, until it ends. The elevated part that such a run starts
// (/ELEVATED) takes none: it is the same installation or removal, and its
// starter holds the mutex while it waits for it to end.

#include <windows.h>

// Takes the machine's lock for this process; false when another run holds
// it. Where no lock can be made at all, the run goes on as it would have.
bool TakeSetupLock();
// Lets the lock go before the process ends: the installation is done, and
// the installation's own setup, which it starts, may take it.
void ReleaseSetupLock();

// Marks `window` as setup's, the window a second setup brings forward.
void MarkSetupWindow(HWND window);
// Brings the marked window of the run that holds the lock, or the box it
// shows, to the front; false when there is none (an unattended run, the
// uninstaller's questions).
bool BringRunningSetupForward();
