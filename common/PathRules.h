#pragma once
// The path rules: the install root a typed text stands for, the root shown
// for a recorded installation, and how paths compare. C runtime only, so
// that they build and are tested natively. They step through a path by
// character in the code page that text/CodePage.h sets: a backslash is one
// only where a character begins.

#include "text/Format.h"

typedef char PathBuffer[text::kPathBufferSize];

// The first `length` bytes of `text`, which fit `buffer`, as a string.
void CopyPrefix(PathBuffer& buffer, const char* text, size_t length);

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

// The Start Menu folder below `programsFolder`.
bool FormatMenuFolder(PathBuffer& folder, const char* programsFolder);

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

// The folder to ask for the free space of the drive that will hold `path`:
// `path` or its nearest parent for which `exists` holds, up to the drive's
// or share's root ("C:\", "\\server\share\"), always with a trailing
// backslash (the system asks it of a network path). False for a path that
// is not absolute.
bool NearestExistingFolder(const char* path, bool (*exists)(const char* folder),
                           PathBuffer& folder);

// The root of the drive or share that holds the absolute `path`, with its
// trailing backslash: what the oldest free-space call takes. False for a
// path that is not absolute.
bool RootOfPath(const char* path, PathBuffer& root);
