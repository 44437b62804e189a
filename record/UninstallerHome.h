#pragma once
// Where an installation's uninstaller and record live: a folder of their
// own below Program Files, whose inherited permissions let standard users
// read and run but not change what is there, wherever the game itself went.

#include "common/CommandLine.h"
#include "common/PathRules.h"
#include "common/RunLog.h"

// The folder that holds every installation's uninstaller folder:
// "<Program Files>\Brightfen". False when the system names no Program Files
// folder.
bool UninstallersFolder(PathBuffer& folder);

// Whether `folder` lies below "<Program Files>\Brightfen", as an
// uninstaller's folder does; compared as the system resolves both folders
// where it can say (Vista and later), else as written.
bool IsBelowUninstallers(const char* folder);

// Whether the program `self` in `home`, its folder, is an uninstaller in its
// own folder: `home` lies below "<Program Files>\Brightfen" and, from Vista
// on, `self` is the program's final path as a whole. A program started
// through a link, or by a short name, is not: what it deletes at the next
// start must be named as the system will find it then.
bool IsUninstallerAtHome(const char* self, const char* home);

// The folder of the uninstaller of the installation in `installDir`: the
// one whose record names it, else the first that does not exist yet. False
// when there is none to be had.
bool FindUninstallerHome(const char* installDir, PathBuffer& home);

// Starts the run's log at `path`, which lies neither in the game's folder
// `installDir` (null: none) nor anywhere below <Program Files>\Brightfen,
// where every installation's uninstaller lives.
bool OpenRunLog(const char* path, const char* installDir, RunLog& log);

// Starts this part's log: the elevated part's own, Setup.log in
// "<Program Files>\Brightfen" (it goes on without one when it cannot be made), or the
// player's /LOG (OpenRunLog), made with the player's rights before any
// elevated part starts. False when /LOG was given and cannot be written.
bool OpenPartLog(const SetupOptions& options, const char* installDir, RunLog& log);

// RunElevatedPart, whose own log is then copied into `log`, the player's.
int RunElevatedPartInto(const SetupOptions& options, RunLog& log, DWORD* refused = nullptr);
