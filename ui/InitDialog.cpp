// What the setup dialog does when it opens and when the language changes.

#include <string.h>

#include "common/PathRules.h"
#include "common/ProgramLanguage.h"
#include "install/DesktopShell.h"
#include "install/SourceMedium.h"
#include "platform/AccessibleName.h"
#include "platform/Layout.h"
#include "platform/WorkingDirectory.h"
#include "record/InstalledGame.h"
#include "record/UninstallerHome.h"
#include "text/Format.h"
#include "text/HeapBlock.h"
#include "text/LocalText.h"
#include "ui/SetupDlg.h"

namespace {

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

// The fields and the labels that name them for screen readers: the labels
// come after all the fields in the template, which keeps the arrow keys'
// groups, so the names are set on the fields themselves.
const LabelledControl kLabelledFields[] = {
    {IDC_INSTALL_PATH, IDC_LABEL_INSTALL_TO},
    {IDC_LANGUAGE, IDC_LABEL_LANGUAGE},
};

// Adds a language of the medium to the list, selecting the one named
// English.
void AddLanguage(const char* name, void* context) {
    CComboBox& list = *static_cast<CComboBox*>(context);
    int position = list.AddString(name);
    if (_stricmp(name, kDefaultLanguage) == 0)
        list.SetCurSel(position);
}

} // namespace

BOOL CSetupDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    InitFrame();

    m_strInstallPath = kDefaultInstallRoot;
    if (OfferRecordedInstallation())
        return TRUE;
    if (!m_strPresetFolder.IsEmpty())
        m_strInstallPath = m_strPresetFolder;
    m_editInstallPath.SetWindowText(m_strInstallPath);

    bool glidePresent = IsGlideDriverPresent();
    CButton glideBox = GlideBox();
    glideBox.EnableWindow(!glidePresent);
    glideBox.SetCheck(glidePresent);

    char sourceRoot[MAX_PATH];
    if (!FindSourceRoot(sourceRoot)) {
        EndWhileOpening(kExitNoMedium);
        return TRUE;
    }

    {
        CWorkingDirectory saved;
        SetCurrentDirectoryA(sourceRoot);
        FillLanguageList();
    }

    ApplyLanguageFrom(sourceRoot);
    return TRUE;
}

void CSetupDlg::EndSetup(SetupExit code) {
    m_exitCode = code;
    EndDialog(IDCANCEL);
}

void CSetupDlg::EndWhileOpening(SetupExit code) {
    EndSetup(code);
    // Wine shows a dialog whose template is visible once its initialisation
    // returns, even when it was ended there; a destroyed dialog is never
    // shown anywhere.
    ::DestroyWindow(m_hWnd);
}

// When the registry records an installation that holds the game, asks
// whether to run it. Returns true when the game was started and the dialog
// ended; otherwise the recorded root becomes the install path.
bool CSetupDlg::OfferRecordedInstallation() {
    PathBuffer recorded;
    if (!RecordedInstallDir(recorded))
        return false;

    if (IsProductInstalledAt(recorded)) {
        // In the installation's own language and reading direction; where
        // its files lack the question, in English, never a blank question
        // whose Yes starts the game.
        LanguageTexts installed;
        PathBuffer home;
        LoadInstalledLanguage(installed, recorded,
                              FindUninstallerHome(recorded, home) ? home : nullptr);
        if (MessageBox(LocalText(installed.Game(), kText<TXT_RUN_INSTALLED>),
                       LocalText(installed.Game(), kText<TXT_RUN_INSTALLED_CAPTION>),
                       ReadingStyle(MB_YESNO, installed.RightToLeft())) == IDYES) {
            RunProduct(recorded);
            EndWhileOpening(kExitInstalled);
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
    if (!ForEachLanguage("", AddLanguage, &m_comboLanguage))
        m_comboLanguage.AddString(kDefaultLanguage);
    // A language the command line named, when the medium offers it.
    int preset = m_comboLanguage.FindStringExact(m_strPresetLanguage);
    if (!m_strPresetLanguage.IsEmpty() && preset != CB_ERR)
        m_comboLanguage.SetCurSel(preset);
    // Without an English table the first language is chosen, so that the
    // dialog and the installation always agree on one.
    if (m_comboLanguage.GetCurSel() == CB_ERR)
        m_comboLanguage.SetCurSel(0);
}

void CSetupDlg::ApplyLanguage() {
    char sourceRoot[MAX_PATH];
    if (FindSourceRoot(sourceRoot))
        ApplyLanguageFrom(sourceRoot);
    else
        EndSetup(kExitNoMedium);
}

void CSetupDlg::ApplyLanguageFrom(const char* sourceRoot) {
    char language[MAX_PATH];
    m_comboLanguage.GetLBText(m_comboLanguage.GetCurSel(), language, sizeof language);

    // A language whose table cannot be named has no texts: the previous
    // language's must not go on answering for it.
    LoadMediumLanguage(m_texts, sourceRoot, language);
    ApplyDialogTexts();
}

void CSetupDlg::ApplyDialogTexts() {
    SetLayoutDirection(m_hWnd, m_texts.RightToLeft());
    for (const auto& row : kDialogTexts) {
        CHeapBlock<char> text(m_texts.Game().GetString(row.textIndex));
        if (!text)
            continue;
        if (row.controlId)
            SetDlgItemText(row.controlId, text);
        else
            SetWindowText(text);
    }
    NameControlsAfterLabels(m_hWnd, kLabelledFields,
                            sizeof kLabelledFields / sizeof kLabelledFields[0]);
}

bool CSetupDlg::IsProductInstalledAt(const char* folder) {
    return IsGameIn(folder);
}

void CSetupDlg::Preset(const char* folder, const char* language) {
    m_strPresetFolder = folder;
    m_strPresetLanguage = language;
}

void CSetupDlg::RunProduct(const char* folder) {
    // An elevated setup would hand the game the administrator's rights and
    // folders: the desktop's shell starts it as the player instead.
    StartAsPlayer(folder, kGameExe);
}
