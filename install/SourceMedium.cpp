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
#include "text/Format.h"
#include "text/HeapBlock.h"

namespace {

// The longest list the system gives is 26 roots of 4 bytes and the closing
// NUL (105 bytes).
const DWORD kDriveListSize = 256;

// The roots of the present drives ("A:\", "C:\", ...) joined with commas
// into one string, in a heap block of kDriveListSize bytes that the caller
// frees. A failed query gives an empty list; null when out of memory.
char* ReadDriveList() {
    char* list = static_cast<char*>(calloc(kDriveListSize, 1));
    if (!list)
        return nullptr;
    // A result past the buffer means the block was not filled.
    DWORD length = GetLogicalDriveStringsA(kDriveListSize, list);
    if (length == 0 || length >= kDriveListSize) {
        memset(list, 0, kDriveListSize);
        return list;
    }
    // Each NUL followed by another root becomes a comma, so that strtok can
    // split the list; the double NUL at its end stops the joining.
    for (DWORD i = 0; i < kDriveListSize - 1; ++i) {
        if (list[i] != '\0')
            continue;
        if (list[i + 1] == '\0')
            break;
        list[i] = ',';
    }
    return list;
}

} // namespace

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

namespace {

// Pairs the set bits of the drive mask, lowest first, with the roots of the
// joined list, which is in the same drive-letter order. A list shorter than
// the mask (a drive added between the two queries) ends the scan.
bool ScanDrives(DWORD mask, char* list, char* root) {
    char* current = strtok(list, ",");
    for (int bit = 0; bit < 32 && current; ++bit) {
        if (!(mask & (1UL << bit)))
            continue;
        if (IsProductMedium(current)) {
            FormatText(root, MAX_PATH, "%s", current);
            return true;
        }
        current = strtok(nullptr, ",");
    }
    return false;
}

} // namespace

bool FindMediumRoot(char* root) {
    DWORD mask = GetLogicalDrives();
    CHeapBlock<char> list(ReadDriveList());
    return list && ScanDrives(mask, list, root);
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
        FormatPath(choice.name, "%s", name);
}

} // namespace

void DefaultLanguage(const char* sourceRoot, char (&name)[MAX_PATH]) {
    name[0] = '\0';
    LanguageChoice choice = {name, false};
    if (!ForEachLanguage(sourceRoot, ConsiderLanguage, &choice))
        FormatPath(name, "%s", kDefaultLanguage);
}

bool MediumOffersLanguage(const char* sourceRoot, const char* name) {
    if (!ForEachLanguage(sourceRoot, nullptr, nullptr))
        return _stricmp(name, kDefaultLanguage) == 0;
    char pool[MAX_PATH];
    if (!FormatPath(pool, "%s%s\\%s%s", sourceRoot, kLanguagesFolder, name, kPoolExtension))
        return false;
    CFindFile entry(pool);
    // A name, not a path: nothing outside the medium's language folder.
    return entry.Found() && !entry.IsFolder() && strpbrk(name, "*?\\/:") == nullptr;
}
