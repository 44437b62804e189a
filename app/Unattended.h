#pragma once
// Setup run by a script: no window, the steps in the log, the result in
// the exit status (common/ExitCodes.h).

#include "common/CommandLine.h"

int RunUnattended(const SetupOptions& options);

// The elevated part of the dialog's installation (/ELEVATED /OWNER=HWND):
// the installation with the dialog's messages over that window, its result
// the exit code.
int RunOwnedInstall(const SetupOptions& options);
