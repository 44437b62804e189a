
#include "common/ProgramLanguage.h"

#include <windows.h>

#include "common/Names.h"
#include "platform/ThisProgram.h"
#include "text/Format.h"
#include "text/HeapBlock.h"

void LoadInstalledLanguage(LanguageTexts& texts, const char* folder, const char* uninstallerHome) {
    char game[MAX_PATH], setup[MAX_PATH];
    bool paired = uninstallerHome && PathInFolder(setup, uninstallerHome, kSetupTexts);
    if (PathInFolder(game, folder, kInstalledLanguage))
        texts.Load(game, paired ? setup : nullptr);
}

void LoadMediumLanguage(LanguageTexts& texts, const char* sourceRoot, const char* language) {
    char game[MAX_PATH], setup[MAX_PATH];
    if (FormatPath(game, "%s%s\\%s", sourceRoot, kLanguagesFolder, language) &&
        FormatPath(setup, "%s%s\\%s\\%s", sourceRoot, kLanguagesFolder, text::kSetupPairFolder,
                   language))
        texts.Load(game, setup);
    else
        texts.Clear();
}

void LoadProgramLanguage(LanguageTexts& texts) {
    char program[MAX_PATH], folder[MAX_PATH], basePath[MAX_PATH];
    if (ThisProgramFolder(program, folder) && PathInFolder(basePath, folder, kSetupTexts))
        texts.Load(nullptr, basePath);
}
