#pragma once
// Where an open file or folder really is: the path the system resolves for
// its handle, through links, short names and substituted drives alike.
// Windows Vista and later can say; older systems cannot.

#include <windows.h>

#include "common/PathRules.h"

// Whether the system gives final paths (Windows Vista and later).
bool HasFinalPaths();

// The path of the open `handle` as a plain path ("C:\...", "\\server\...");
// false before Windows Vista, or when it does not fit.
bool FinalPathOf(HANDLE handle, PathBuffer& path);

// The final path of the existing folder `folder`; false when it cannot be
// opened, or as FinalPathOf.
bool FinalFolderPath(const char* folder, PathBuffer& path);
