// What the setup dialog does when it opens and when the language changes.

#include <stdlib.h>
#include <string.h>

#include "app/SetupDlg.h"
#include "install/PathRules.h"
#include "platform/FindFile.h"
#include "platform/RegistryKey.h"
#include "platform/WorkingDirectory.h"
#include "text/Format.h"
#include "text/TextCatalogue.h"

namespace {

// Asked when the installation's own language files lack the question or
// its caption: never a blank question whose Yes starts the game.
const char kRunInstalledFallback[] =
    "The Vellmor is already installed. Do you want to start it now?";
const char kRunInstalledCaptionFallback[] = "The Vellmor";

// The window texts that come from the language table: the catalogue's
// dialog texts, in its order; control id 0 stands for the dialog's own title.
static_assert(kDialogTitle == 0 && kControlOk == IDOK && kControlCancel == IDCANCEL,
              "the catalogue's control ids are the system's");
const struct {
    int controlId;
    int textIndex;
} kDialogTexts[] = {
#define DIALOG_TEXT(name, index, control, ...) {control, index},
    DIALOG_TEXTS(DIALOG_TEXT)
#undef DIALOG_TEXT
};

// Adds the name of every language pool in the working directory's Languages
// folder to `list`, selecting the one named English; without a list, stops
// at the first. Whether there was one.
bool FindLanguages(CComboBox* list) {
    char pattern[MAX_PATH];
    if (!FormatPath(pattern, "%s\\*%s", kLanguagesFolder, kPoolExtension))
        return false;
    bool found = false;
    for (CFindFile entry(pattern); entry.Found(); entry.Next()) {
        if (entry.IsFolder())
            continue;
        found = true;
        if (!list)
            break;
        char name[_MAX_FNAME];
        _splitpath(entry.Name(), nullptr, nullptr, name, nullptr);
        int position = list->AddString(name);
        if (_stricmp(name, kDefaultLanguage) == 0)
            list->SetCurSel(position);
    }
    return found;
}

} // namespace

BOOL CSetupDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    InitFrame();

    m_strInstallPath = kDefaultInstallRoot;
    if (OfferRecordedInstallation())
        return TRUE;
    m_editInstallPath.SetWindowText(m_strInstallPath);

    bool glidePresent = IsGlideDriverPresent();
    CButton glideBox = GlideBox();
    glideBox.EnableWindow(!glidePresent);
    glideBox.SetCheck(glidePresent);

    char sourceRoot[MAX_PATH];
    FindSourceRoot(sourceRoot);

    {
        CWorkingDirectory saved;
        SetCurrentDirectoryA(sourceRoot);
        FillLanguageList();
    }

    ApplyLanguage();
    return TRUE;
}

// When the registry records an installation that holds the game, asks
// whether to run it. Returns true when the game was started and the dialog
// ended; otherwise the recorded root becomes the install path.
bool CSetupDlg::OfferRecordedInstallation() {
    CRegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, kRegistryKey))
        return false;
    char recorded[MAX_PATH];
    if (!key.ReadString(kInstallPathValue, recorded, sizeof recorded))
        return false;

    if (IsProductInstalledAt(recorded)) {
        CString caption = LoadInstalledText(recorded, TXT_RUN_INSTALLED_CAPTION);
        CString question = LoadInstalledText(recorded, TXT_RUN_INSTALLED);
        if (MessageBox(TextOr(question, kRunInstalledFallback),
                       TextOr(caption, kRunInstalledCaptionFallback), MB_YESNO) == IDYES) {
            RunProduct(recorded);
            EndDialog(IDCANCEL);
            // Wine shows a dialog whose template is visible once its
            // initialisation returns, even when it was ended there; a
            // destroyed dialog is never shown anywhere.
            ::DestroyWindow(m_hWnd);
            return true;
        }
    }
    char root[MAX_PATH];
    RootOfRecordedFolder(recorded, root);
    m_strInstallPath = root;
    return false;
}

void CSetupDlg::FillLanguageList() {
    while (m_comboLanguage.GetCount() > 0)
        m_comboLanguage.DeleteString(0);
    // A medium without language files (folders named like one do not count)
    // still offers English.
    if (!FindLanguages(&m_comboLanguage))
        m_comboLanguage.AddString(kDefaultLanguage);
    // Without an English table the first language is chosen, so that the
    // dialog and the installation always agree on one.
    if (m_comboLanguage.GetCurSel() == CB_ERR)
        m_comboLanguage.SetCurSel(0);
}

bool HasLanguageFiles() {
    return FindLanguages(nullptr);
}

void CSetupDlg::ApplyLanguage() {
    char language[MAX_PATH];
    m_comboLanguage.GetLBText(m_comboLanguage.GetCurSel(), language, sizeof language);

    char sourceRoot[MAX_PATH];
    FindSourceRoot(sourceRoot);

    // A language whose table cannot be named has no texts: the previous
    // language's must not go on answering for it.
    char basePath[MAX_PATH];
    if (FormatPath(basePath, "%s%s\\%s", sourceRoot, kLanguagesFolder, language))
        m_languageTable.Load(basePath);
    else
        m_languageTable.Clear();
    ApplyDialogTexts();
}

void CSetupDlg::ApplyDialogTexts() {
    for (const auto& row : kDialogTexts) {
        char* text = m_languageTable.GetString(row.textIndex);
        if (!text)
            continue;
        if (row.controlId)
            SetDlgItemText(row.controlId, text);
        else
            SetWindowText(text);
        free(text);
    }
}

bool CSetupDlg::IsProductInstalledAt(const char* folder) {
    char game[MAX_PATH];
    if (!FormatPath(game, "%s\\%s", folder, kGameExe))
        return false;
    HANDLE file = CreateFileA(game, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

void CSetupDlg::RunProduct(const char* folder) {
    // Quoted, so that a folder with spaces cannot start another program
    // ("C:\Program Files\..." must never run "C:\Program.exe").
    char command[MAX_PATH + 2];
    if (!FormatPath(command, "\"%s\\%s\"", folder, kGameExe))
        return;
    SetCurrentDirectoryA(folder);
    WinExec(command, SW_SHOWNORMAL);
}
