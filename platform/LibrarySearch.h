#pragma once
// Where the process looks for a library loaded by its bare name.

// Limits the search to the system folder, so that a library planted beside
// the program or in the current folder never runs in this process: the
// default directories become the system folder alone where the system can
// set them (Windows 8, and Vista and 7 with KB2533623), else the current
// folder leaves the search (Windows XP SP1 and later). Windows 95 to 2000
// have neither call and keep their search; libraries that matter are then
// loaded by full path. Call before anything loads a library.
void RestrictLibrarySearchToSystem();
