#pragma once
// Setup run as the installation's uninstaller (/UNINSTALL): it asks, then
// removes what the uninstall record lists, and says what stayed.

#include "common/CommandLine.h"

int RunUninstall(const SetupOptions& options);
