#pragma once
// Setup run by a script: no window, the steps in the log, the result in
// the exit status (install/ExitCodes.h).

#include "install/CommandLine.h"

int RunUnattended(const SetupOptions& options);

// Runs this program's elevated part with the same switches and answers with
// its exit code (kExitNotElevated when administrator rights were declined).
int RunElevatedPart(const SetupOptions& options);

// The elevated part of the dialog's installation (/ELEVATED /OWNER=HWND):
// the installation with the dialog's messages over that window, its result
// the exit code.
int RunOwnedInstall(const SetupOptions& options);
