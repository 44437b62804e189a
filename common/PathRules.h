#pragma once
// The installation's path rules: the install root a typed text stands for,
// every path the installation reads and writes, and the root shown for a
// recorded installation. C runtime only, so that they build and are tested
// natively. They step through a path by character in the code page that
// text/CodePage.h sets: a backslash is one only where a character begins.

#include "text/Format.h"

typedef char PathBuffer[text::kPathBufferSize];

// Whether `path` names the same folder whatever the current drive and
// folder are: a drive path "X:\..." or a network path "\\server\share...".
bool IsAbsolutePath(const char* path);

enum class RootRule {
    Derived,  // the root is set
    TooLong,  // the text does not fit a path buffer
    Relative, // the root would depend on the current drive or folder
};

// The install root for the text typed in the install-path field. When the
// text, trimmed of white space, names the product folder as a whole folder
// name (after a backslash, before a backslash or its end; case-sensitive),
// the root is the trimmed text up to that name, its backslash kept:
// "C:\Games\The Vellmor\Maps" gives "C:\Games\". Otherwise the root is the
// text as typed. Every "/" in the text counts as "\". On a refusal `root` is
// empty.
RootRule DeriveInstallRoot(const char* typed, PathBuffer& root);

// The install root shown for a recorded installation folder: the folder
// without its last component when that is the product folder, a drive
// root keeping its backslash ("C:\The Vellmor" gives "C:\"); otherwise the
// folder unchanged. The result is never longer than `recorded`; a folder
// that does not fit a path buffer is cut to fit.
void RootOfRecordedFolder(const char* recorded, PathBuffer& root);

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

// The Start Menu folder below `programsFolder`.
bool FormatMenuFolder(PathBuffer& folder, const char* programsFolder);

// The Start Menu folder and its links below `programsFolder`.
bool BuildMenuPaths(InstallPaths& paths, const char* programsFolder);

// The medium's files of `language`, as the language list names it.
bool BuildLanguageSources(InstallPaths& paths, const char* language);

// Whether `path` is `folder` or lies below it, in any case as IsSameText
// compares whole characters: the same text, or the folder's text and a
// backslash.
bool IsSameOrBelow(const char* path, const char* folder);

// Whether `a` and `b` are the same path in any case, as IsSameText compares.
bool IsSamePath(const char* a, const char* b);

// Whether `path` is a drive's root as the system lists it: "D:\".
bool IsDriveRoot(const char* path);

// `finalPath` (as GetFinalPathNameByHandle gives it, "\\?\C:\..." or
// "\\?\UNC\server\share\...") as a plain path, into `path`: "C:\..." or
// "\\server\share\...". False when it has neither form or does not fit.
bool PlainFinalPath(const char* finalPath, PathBuffer& path);
