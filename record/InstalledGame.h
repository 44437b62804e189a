#pragma once
// An installation as the machine records it: the folder in the registry,
// and the game in that folder.

#include "common/PathRules.h"

// Records `installDir` as the installation's folder.
bool RecordInstallation(const char* installDir);
// The entry that Apps & features lists for the installation in
// `installDir`: its uninstaller (in the folder `home`), its version, its
// size in KB.
bool RecordUninstallEntry(const char* installDir, const char* home, const char* version,
                          unsigned long sizeKb);
// Removes the installation's folder value and the uninstall entry, each
// only while it names `installDir` (another installation made since keeps
// its own), then the key when that is left empty (the maker's key too,
// when nothing else is in it). False when a value or entry of this
// installation stays.
bool ForgetInstallation(const char* installDir);
// The recorded installation's folder; false when none is recorded.
bool RecordedInstallDir(PathBuffer& folder);
// The install root to offer: the recorded installation's, else the default.
void OfferedInstallRoot(PathBuffer& root);
// Whether `folder` holds the game.
bool IsGameIn(const char* folder);
