#pragma once
// Removing an installation: exactly what its uninstall record lists, never
// by following a junction or link, each folder only when it is empty, the
// Start Menu's links only while they lead into the installation; what the
// player added stays.

#include <stddef.h>

#include "common/HeldTree.h"
#include "common/PathRules.h"
#include "record/UninstallRecord.h"
#include "text/SetupPair.h"

class Removal {
  public:
    Removal() = default;
    Removal(const Removal&) = delete;
    Removal& operator=(const Removal&) = delete;

    // Reads the record kept in the uninstaller's folder `home`, for the
    // Start Menu folder that setup would make now (`menuFolder`; null:
    // none). False when it is missing or refused; `why` (of `whySize`
    // bytes) then says so in a sentence of `texts`.
    bool Read(const char* home, const char* menuFolder, LanguageTexts& texts, char* why,
              size_t whySize);
    // The recorded installation's folder, once the record is read.
    const char* InstallDir() const { return m_record->installDir; }

    // Removes the recorded files, then the recorded folders that are empty,
    // deepest first: Held. Otherwise nothing is removed: a folder on the way
    // to the installation folder is a link or cannot be held, and `named`
    // names it.
    WayVerdict Remove(PathBuffer& named);
    // Tells `stayed` of each recorded file that is still there (after the
    // removal: that could not be removed).
    void ForEachStayed(void (*stayed)(const char* path, void* context), void* context) const;

    // Whether the installation folder is still there: it holds what setup
    // did not install, or what could not be removed.
    bool FilesLeft() const;

  private:
    CUninstallRecord m_record;
    PathBuffer m_menuFolder = "";
};

// Deletes `path`, a file or an empty folder, when Windows next starts:
// MoveFileEx where the system has it; a file through WININIT.INI's rename
// section on Windows 95 and 98, which remove no folders.
void DeleteAtRestart(const char* path);

// Adds a line that deletes `path` at the next start to the top of the
// [rename] section of the WININIT.INI-style file `ini` in `folder`,
// writing the edited file beside it and putting it in place only when it
// is whole. False, with `ini` as it was, when `ini` cannot be read whole
// (or is larger than kLargestWininit) or the edit cannot be put in place.
bool AddDeletionToIniFile(const char* folder, const char* ini, const char* path);
