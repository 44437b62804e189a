
#include "app/ProgramLanguage.h"
#include "app/SetupDlg.h"
#include "platform/ThisProgram.h"
#include "text/Format.h"
#include "text/HeapBlock.h"

// The text of a table entry up to its first NUL, or an empty string.
static CString TakeText(CLanguageTable& table, int index) {
    CHeapBlock<char> block(table.GetString(index));
    return block ? CString(block) : CString();
}

CString CSetupDlg::LoadText(int index) {
    return TakeText(m_texts.TableOf(index), index);
}

// Loads the language pair an installation keeps in `folder`; a path that
// does not fit leaves the table as it was.
static void LoadInstalledLanguage(CLanguageTable& table, const char* folder) {
    char basePath[MAX_PATH];
    if (PathInFolder(basePath, folder, kInstalledLanguage))
        table.Load(basePath);
}

CString CSetupDlg::LoadInstalledText(const CString& folder, int index) {
    CLanguageTable table;
    LoadInstalledLanguage(table, folder);
    return TakeText(table, index);
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
