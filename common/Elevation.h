#pragma once
// Administrator rights only for the installation and the removal: setup
// starts with the player's rights and, where it lacks an administrator's,
// starts itself again elevated for that part alone, then goes on as the
// player with its result.

#include <windows.h>

#include "common/CommandLine.h"

// Whether the installation or removal must run in an elevated copy of this
// program: on Windows Vista or later when this process's token is not
// elevated. VELLMOR_SETUP_RELAUNCH=1 in the environment makes it say so
// regardless (tests: Wine gives every process a full token).
bool NeedsElevation();

// Starts this program elevated with `arguments` (the shell's "runas") and
// waits for it to end. Meanwhile `owner` (null: none), the window that owns
// whatever the elevated part shows, stays disabled and painted. The elevated
// part's exit code; kExitNotElevated when the user declined or it could not
// start. `refused` (may be null) is then the system's error when the start
// failed for another reason than the user's No (the prompt could not be
// shown, the program could not start), else 0.
int RunElevated(const char* arguments, HWND owner, DWORD* refused = nullptr);

// Turns on RedirectionGuard for this process (Windows 11, and Windows 10
// from 22H2):
// the system then refuses to follow a junction that a user without
// administrator rights made. A system without it is left as it is.
void EnableRedirectionGuard();

// Whether this process runs with an elevated token on Windows Vista or
// later (earlier Windows have no elevation: false).
bool IsElevatedOnVistaOrLater();

// Runs this program's elevated part with the same switches but /LOG (the
// elevated part keeps its own) and answers with its exit code
// (kExitNotElevated when administrator rights were declined; `refused`,
// when not null, as RunElevated sets it).
int RunElevatedPart(const SetupOptions& options, DWORD* refused = nullptr);
