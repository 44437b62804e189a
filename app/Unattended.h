#pragma once
// Setup run by a script: no window, the steps in the log, the result in
// the exit status (install/ExitCodes.h).

#include "install/CommandLine.h"

int RunUnattended(const SetupOptions& options);
