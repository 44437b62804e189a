#include <stdlib.h>

#include "app/SetupDlg.h"
#include "text/Format.h"

// The text of a table entry up to its first NUL, or an empty string.
static CString TakeText(CLanguageTable& table, int index) {
    char* block = table.GetString(index);
    if (!block)
        return CString();
    CString text(block);
    free(block);
    return text;
}

CString CSetupDlg::LoadText(int index) {
    return TakeText(m_languageTable, index);
}

CString CSetupDlg::LoadInstalledText(const CString& folder, int index) {
    char basePath[MAX_PATH];
    if (!FormatPath(basePath, "%s\\%s", (const char*)folder, kInstalledLanguage))
        return CString();
    CLanguageTable table;
    table.Load(basePath);
    return TakeText(table, index);
}
