#pragma once
// Where an installation's uninstaller and record live: a folder of their
// own below Program Files, whose inherited permissions let standard users
// read and run but not change what is there, wherever the game itself went.

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

// The folder of the uninstaller of the installation in `installDir`: the
// one whose record names it, else the first that does not exist yet. False
// when there is none to be had.
bool FindUninstallerHome(const char* installDir, PathBuffer& home);

// Starts the run's log at `path`, which lies neither in the game's folder
// `installDir` (null: none) nor anywhere below <Program Files>\Brightfen,
// where every installation's uninstaller lives.
bool OpenRunLog(const char* path, const char* installDir, RunLog& log);
