#pragma once
// The language of the texts shown before or without the setup dialog.

#include "text/SetupPair.h"

// Loads setup's own texts kept beside this program's file ("setup.sif" and
// "setup.poo" in its folder): for the uninstaller, the language the
// installation chose, in a folder only administrators can change. Beside the
// medium's Setup.exe and in the installation there are none, and every text
// is the English.
void LoadProgramLanguage(LanguageTexts& texts);

// Loads the language that the installation in `folder` keeps: its game's
// table, and setup's pair beside its uninstaller in `uninstallerHome` (null
// when it has none), which says the reading direction; a path that does
// not fit leaves `texts` as they were.
void LoadInstalledLanguage(LanguageTexts& texts, const char* folder, const char* uninstallerHome);

// Loads `language`'s pairs from the medium at `sourceRoot` ("D:\"); a
// language whose files cannot be named has no texts.
void LoadMediumLanguage(LanguageTexts& texts, const char* sourceRoot, const char* language);
