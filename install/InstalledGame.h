#pragma once
// An installation as the machine records it: the folder in the registry,
// and the game in that folder.

#include "install/PathRules.h"

// Records `installDir` as the installation's folder.
bool RecordInstallation(const char* installDir);
// The recorded installation's folder; false when none is recorded.
bool RecordedInstallDir(PathBuffer& folder);
// The install root to offer: the recorded installation's, else the default.
void OfferedInstallRoot(PathBuffer& root);
// Whether `folder` holds the game.
bool IsGameIn(const char* folder);
