// The machine's probes: which CD-ROM drive holds the game's disc, which
// languages it offers, and whether a Glide driver is installed.

#include "install/SourceMedium.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "common/Names.h"
#include "common/PathRules.h"
#include "platform/FindFile.h"
#include "platform/LibrarySearch.h"
#include "text/CodePage.h"
#include "text/Format.h"

// Opening a file on a drive without a disc fails quietly: the framework's
// error mode keeps the system's "drive not ready" box away.
bool IsProductMedium(const char* root) {
    if (!IsDriveRoot(root) || GetDriveTypeA(root) != DRIVE_CDROM)
        return false;
    char probe[MAX_PATH];
    if (!FormatPath(probe, "%s%s\\%s", root, kProductFolder, kGameExe))
        return false;
    FILE* file = fopen(probe, "rb");
    if (!file)
        return false;
    fclose(file);
    return true;
}

bool FindMediumRoot(char* root) {
    // The drive mask's bits, lowest first, are the letters from A on.
    DWORD mask = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        char drive[] = {static_cast<char>('A' + letter), ':', '\\', '\0'};
        if ((mask & (1UL << letter)) && IsProductMedium(drive))
            return CopyText(root, MAX_PATH, drive);
    }
    return false;
}

bool GlideDriverInstalled() {
    // Only from the system folder: a library of that name beside setup or in
    // the current folder, as in a download folder, must never run inside an
    // elevated setup.
    HMODULE glide = LoadSystemLibrary(kGlideDriver);
    if (!glide)
        return false;
    FreeLibrary(glide);
    return true;
}

bool ForEachLanguage(const char* sourceRoot, void (*found)(const char* name, void* context),
                     void* context) {
    char pattern[MAX_PATH];
    if (!FormatPath(pattern, "%s%s\\*%s", sourceRoot, kLanguagesFolder, kPoolExtension))
        return false;
    bool any = false;
    for (CFindFile entry(pattern); entry.Found(); entry.Next()) {
        // A folder named like a pool is no language.
        if (entry.IsFolder())
            continue;
        any = true;
        if (!found)
            break;
        char name[_MAX_FNAME];
        _splitpath(entry.Name(), nullptr, nullptr, name, nullptr);
        found(name, context);
    }
    return any;
}

namespace {

struct LanguageChoice {
    char (&name)[MAX_PATH];
    bool english;
};

// English wins; otherwise the first in the list's order, which sorts
// without regard to case.
void ConsiderLanguage(const char* name, void* context) {
    LanguageChoice& choice = *static_cast<LanguageChoice*>(context);
    if (choice.english)
        return;
    choice.english = _stricmp(name, kDefaultLanguage) == 0;
    if (choice.english || choice.name[0] == '\0' || lstrcmpiA(name, choice.name) < 0)
        CopyPath(choice.name, name);
}

} // namespace

void DefaultLanguage(const char* sourceRoot, char (&name)[MAX_PATH]) {
    name[0] = '\0';
    LanguageChoice choice = {name, false};
    if (!ForEachLanguage(sourceRoot, ConsiderLanguage, &choice))
        CopyPath(name, kDefaultLanguage);
}

bool MediumOffersLanguage(const char* sourceRoot, const char* name) {
    if (!ForEachLanguage(sourceRoot, nullptr, nullptr))
        return _stricmp(name, kDefaultLanguage) == 0;
    char pool[MAX_PATH];
    if (!FormatPath(pool, "%s%s\\%s%s", sourceRoot, kLanguagesFolder, name, kPoolExtension))
        return false;
    CFindFile entry(pool);
    if (!entry.Found() || entry.IsFolder())
        return false;
    // A name, not a path: nothing outside the medium's language folder. A
    // second byte that looks like a backslash is part of its character.
    for (const char* at = name; *at; at = NextChar(at)) {
        if (strchr("*?\\/:", *at))
            return false;
    }
    return true;
}
