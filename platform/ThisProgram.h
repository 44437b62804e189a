#pragma once
// This program's own file and folder, as the system started it.

#include <windows.h>

// The full path of this program's file into `path`; false when it does not
// fit.
bool ThisProgramPath(char (&path)[MAX_PATH]);

// This program's file into `path` and the folder that holds it into
// `folder`; false when either cannot be had.
bool ThisProgramFolder(char (&path)[MAX_PATH], char (&folder)[MAX_PATH]);
