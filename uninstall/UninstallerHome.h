#pragma once
// Where an installation's uninstaller and record live: a folder of their
// own below Program Files, whose inherited permissions let standard users
// read and run but not change what is there, wherever the game itself went.

#include "common/PathRules.h"

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
