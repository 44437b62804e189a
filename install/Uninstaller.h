#pragma once
// Removing an installation: exactly what its uninstall record lists, never
// by following a junction or link out of the tree, each folder only when it
// is empty; what the player added stays.

#include <stddef.h>

#include "install/UninstallRecord.h"
#include "text/LanguageTable.h"

class Removal {
  public:
    Removal() = default;
    ~Removal() { FreeUninstallRecord(m_record); }
    Removal(const Removal&) = delete;
    Removal& operator=(const Removal&) = delete;

    // Reads the record of `installDir`. False when it is missing or refused;
    // `why` (of `whySize` bytes) then says so in a sentence of `texts`.
    bool Read(const char* installDir, CLanguageTable& texts, char* why, size_t whySize);

    // Removes the recorded files but `keep` (the running uninstaller), then
    // the recorded folders that are empty, deepest first. `stayed` is told
    // of each recorded file that could not be removed.
    void Remove(const char* keep, void (*stayed)(const char* path, void* context), void* context);

    // Whether the installation folder holds anything but `keep`.
    bool FilesLeft(const char* keep) const;

  private:
    bool OutsideTree(const char* path) const;

    UninstallRecord* m_record = nullptr;
    PathBuffer m_installDir;
};

// Deletes `path` when Windows next starts: MoveFileEx where the system has
// it, WININIT.INI's rename section on Windows 95 and 98.
void DeleteAtRestart(const char* path);
