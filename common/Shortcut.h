#pragma once
// Shell links (".lnk") for the Start Menu.

#include <windows.h>

// Writes a shell link at `linkPath` that starts `target` in `workingDir` and
// shows `description`; an existing file there is saved over. The link's
// folder must exist. COM is initialised for the duration of the call only
// (a caller's own initialisation stays in force). The result is negative
// when no link was written: the link object's creation failure, the missing
// file interface or the save's failure code.
HRESULT CreateShortcut(const char* target, const char* linkPath, const char* description,
                       const char* workingDir);

// The program that the shell link at `linkPath` starts, into `target`
// (MAX_PATH bytes); false when the link cannot be read.
bool ReadShortcutTarget(const char* linkPath, char* target);

// The Start Menu Programs folder that every user sees (the user's own on
// systems without profiles) into `path` (MAX_PATH bytes), the shell's
// windows owned by `owner`; false, with `path` untouched, when the shell
// cannot give it.
bool ProgramsFolderFor(HWND owner, char* path);
