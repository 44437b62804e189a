#pragma once
// Setup run by a script: no window, the steps in the log, the result in
// the exit status (install/ExitCodes.h).

#include "install/CommandLine.h"
#include "install/LogReport.h"

int RunUnattended(const SetupOptions& options);

// Runs this program's elevated part with the same switches but /LOG and
// answers with its exit code (kExitNotElevated when administrator rights
// were declined; `refused`, when not null, as RunElevated sets it). The log
// it kept is then copied into `log`, the player's (when one is open).
int RunElevatedPart(const SetupOptions& options, LogReport& log, DWORD* refused = nullptr);

// Starts the run's log at `path`, which lies neither in the game's folder
// `installDir` (null: none) nor anywhere below <Program Files>\Brightfen,
// where every installation's uninstaller lives.
bool OpenRunLog(const char* path, const char* installDir, LogReport& log);

// Starts this part's log: the elevated part's own (LogReport::OpenElevated;
// it goes on without one when it cannot be made), or the player's /LOG
// (OpenRunLog), made with the player's rights before any elevated part
// starts. False when /LOG was given and cannot be written.
bool OpenPartLog(const SetupOptions& options, const char* installDir, LogReport& log);

// The elevated part of the dialog's installation (/ELEVATED /OWNER=HWND):
// the installation with the dialog's messages over that window, its result
// the exit code.
int RunOwnedInstall(const SetupOptions& options);
