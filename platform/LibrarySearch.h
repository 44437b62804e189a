#pragma once
// Where the process looks for a library loaded by its bare name, and
// libraries and functions loaded by hand.

#include "platform/Library.h"
#include "platform/ProcAddress.h"

// Limits the search to the system folder, so that a library planted beside
// the program or in the current folder never runs in this process: the
// default directories become the system folder alone where the system can
// set them (Windows 8, and Vista and 7 with KB2533623), else the current
// folder leaves the search (Windows XP SP1 and later). Windows 95 to 2000
// have neither call and keep their search; libraries that matter are then
// loaded by full path. Call before anything loads a library.
void RestrictLibrarySearchToSystem();

// The full path of the file `name` in the system folder ("System" on
// Windows 95 and 98, "System32" on NT); false when it does not fit.
bool SystemFolderPath(const char* name, char (&path)[MAX_PATH]);

// Loads the library `name` from the system folder only, by its full path,
// whatever the search: none when it cannot.
CLibrary LoadSystemLibrary(const char* name);
