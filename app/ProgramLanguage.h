#pragma once
// The language of the texts shown before or without the setup dialog.

#include "text/LanguageTable.h"

// Loads the language pair kept beside this program's file ("language.sif"
// and "language.poo" in its folder): for the uninstaller, the language the
// installation chose, in a folder only administrators can change. Beside the
// medium's Setup.exe there is none, and every text is the English.
void LoadProgramLanguage(CLanguageTable& table);
