#pragma once
// The installation's paths, from the install root to the Start Menu's
// links. C runtime only, so that they build and are tested natively.

#include "common/PathRules.h"

// Every path one installation uses, all built (and checked to fit) before
// anything is created.
struct InstallPaths {
    PathBuffer installRoot;                          // as derived from the text; may end in "\"
    char copyDestination[text::kPathBufferSize + 1]; // installRoot, double-NUL terminated
    PathBuffer installDir;
    PathBuffer versionFile;
    PathBuffer setupTarget;
    PathBuffer gameTarget;
    PathBuffer languagePool;
    PathBuffer languageIndex;
    PathBuffer glideLibrary;
    PathBuffer setupGlide;
    char setupCommand[text::kPathBufferSize + 2]; // quoted
    // On the medium, relative to its root.
    PathBuffer languagePoolSource;
    PathBuffer languageIndexSource;
    PathBuffer glideSource;
    // The Start Menu's, when the shell gives a Programs folder.
    bool haveMenu;
    PathBuffer menuFolder;
    PathBuffer setupLink;
    PathBuffer gameLink;
};

// The installation's paths from `paths.installRoot`: the copy goes into the
// root as derived, every path after it names the root without one trailing
// backslash. False when one does not fit.
bool BuildInstalledPaths(InstallPaths& paths);

// The installation folder that the text `typed` installs into; false when
// the text is refused or a path does not fit.
bool InstallFolderFor(const char* typed, PathBuffer& installDir);

// The Start Menu folder and its links below `programsFolder`.
bool BuildMenuPaths(InstallPaths& paths, const char* programsFolder);

// The medium's files of `language`, as the language list names it.
bool BuildLanguageSources(InstallPaths& paths, const char* language);
