
#include "app/ProgramLanguage.h"
#include "app/SetupDlg.h"
#include "platform/HeapBlock.h"
#include "platform/ThisProgram.h"
#include "text/Format.h"

// The text of a table entry up to its first NUL, or an empty string.
static CString TakeText(CLanguageTable& table, int index) {
    CHeapBlock<char> block(table.GetString(index));
    return block ? CString(block) : CString();
}

CString CSetupDlg::LoadText(int index) {
    return TakeText(m_languageTable, index);
}

// Loads the language pair an installation keeps in `folder`; a path that
// does not fit leaves the table as it was.
static void LoadInstalledLanguage(CLanguageTable& table, const char* folder) {
    char basePath[MAX_PATH];
    if (FormatPath(basePath, "%s\\%s", folder, kInstalledLanguage))
        table.Load(basePath);
}

CString CSetupDlg::LoadInstalledText(const CString& folder, int index) {
    CLanguageTable table;
    LoadInstalledLanguage(table, folder);
    return TakeText(table, index);
}

void LoadProgramLanguage(CLanguageTable& table) {
    char program[MAX_PATH], folder[MAX_PATH];
    if (ThisProgramFolder(program, folder))
        LoadInstalledLanguage(table, folder);
}
