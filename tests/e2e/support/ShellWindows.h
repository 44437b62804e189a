#pragma once
// The desktop's shell as a program that asks it to start another sees it.

#include <windows.h>

#include "StubLog.h"

namespace e2e {

// Whether the prefix reports Windows Vista or later: Wine's own default
// and the Windows 10 version, not the older ones (E2E_WINDOWS).
bool IsVistaOrLater();

// Setup runs elevated here (Wine gives every process an administrator's
// token): from Vista on the desktop's shell started `start` as the
// desktop's user; before, setup (`setupId`) started it itself. Reports at
// the caller's line.
#define EXPECT_STARTED_AS_PLAYER(start, setupId)                                                   \
    do {                                                                                           \
        if (::e2e::IsVistaOrLater()) {                                                             \
            EXPECT_STRCASEEQ("explorer.exe", (start).parentProgram.c_str());                       \
        } else {                                                                                   \
            EXPECT_EQ((setupId), (start).parentId) << (start).parentProgram;                       \
        }                                                                                          \
    } while (0)

// Starts the desktop when it is not up yet and waits until its shell has
// registered the desktop window with ShellWindows, which Wine's desktop
// process does last, after its window exists. True once the shell answers
// for the desktop; false when it has not within kTimeoutMs.
bool WaitForDesktopShell();

} // namespace e2e
