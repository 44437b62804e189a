#pragma once
// The language of the texts shown before or without the setup dialog.

#include "text/SetupPair.h"

// Loads setup's own texts kept beside this program's file ("setup.sif" and
// "setup.poo" in its folder): for the uninstaller, the language the
// installation chose, in a folder only administrators can change. Beside the
// medium's Setup.exe and in the installation there are none, and every text
// is the English.
void LoadProgramLanguage(LanguageTexts& texts);

// Loads the game's language table that the installation in `folder`
// keeps; a path that does not fit leaves `table` as it was.
void LoadInstalledLanguage(CLanguageTable& table, const char* folder);

// Loads `language`'s pairs from the medium at `sourceRoot` ("D:\"); a
// language whose files cannot be named has no texts.
void LoadMediumLanguage(LanguageTexts& texts, const char* sourceRoot, const char* language);
