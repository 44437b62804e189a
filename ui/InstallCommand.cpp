// The Install command and the installation's steps as the dialog's own:
// each gathers the dialog's values and calls the installation, which tells
// the user of its failures through message boxes owned by the dialog.

#include <stdlib.h>

#include "app/SetupDlg.h"
#include "install/Installation.h"
#include "install/RoomRules.h"
#include "install/Shortcut.h"
#include "install/SourceMedium.h"
#include "platform/WaitCursor.h"
#include "text/LocalText.h"

namespace {

// Shown when the language table lacks the completion message or its caption.
const char kInstallDoneFallback[] = "The Vellmor has been installed.";
const char kInstallDoneCaptionFallback[] = "Installation Complete";

int ShowMessage(const CWnd& owner, CLanguageTable& texts, const InstallMessage& message) {
    LocalText caption(texts, message.caption);
    return owner.MessageBox(LocalText(texts, message.text),
                            message.caption.english ? (const char*)caption : nullptr,
                            message.style);
}

// The installation as the user at the dialog sees it: message boxes in the
// dialog's language.
class DialogReport : public InstallReport {
  public:
    DialogReport(const CWnd& dialog, CLanguageTable& texts) : m_dialog(dialog), m_texts(texts) {}

    void StepRan(const char*, const InstallMessage*, DWORD) override {}
    void Tell(const InstallMessage& failure) override { ShowMessage(m_dialog, m_texts, failure); }
    // The estimate may be wrong (compression, quotas): the user decides,
    // No the default.
    bool GoOnWithoutRoom(uint64_t needed, uint64_t available) override {
        char neededMb[16], availableMb[16];
        FormatText(neededMb, sizeof neededMb, "%lu", (unsigned long)MegabytesNeeded(needed));
        FormatText(availableMb, sizeof availableMb, "%lu", (unsigned long)MegabytesFree(available));
        return m_dialog.MessageBox(
                   LocalText(m_texts, kText<TXT_NO_ROOM_QUESTION>, neededMb, availableMb),
                   LocalText(m_texts, kText<TXT_NO_ROOM_CAPTION>),
                   MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
    }

  private:
    const CWnd& m_dialog;
    CLanguageTable& m_texts;
};

} // namespace

void CSetupDlg::FindSourceRoot(char* root) {
    if (FindMediumRoot(root))
        return;
    ShowMessage(*this, m_languageTable, kNoMedium);
    exit(kExitNoMedium);
}

bool CSetupDlg::IsGlideDriverPresent() {
    return GlideDriverInstalled();
}

bool CSetupDlg::GetProgramsFolder(char* path) {
    return ProgramsFolderFor(m_hWnd, path);
}

void CSetupDlg::ClearReadOnlyTree(const char* folder) {
    ClearReadOnlyBelow(folder);
}

bool CSetupDlg::InstallProduct() {
    CWaitCursor wait;
    char sourceRoot[MAX_PATH];
    FindSourceRoot(sourceRoot);
    char language[MAX_PATH] = "";
    m_comboLanguage.GetLBText(m_comboLanguage.GetCurSel(), language, sizeof language);
    LocalText copyTitle(m_languageTable, kText<TXT_COPY_TITLE>);
    InstallRequest request = {m_strInstallPath, language, GlideBox().IsChecked(), m_hWnd,
                              copyTitle};
    DialogReport report(*this, m_languageTable);
    PathBuffer installDir;
    if (RunInstallation(request, sourceRoot, report, installDir) != kExitInstalled)
        return false;
    StartInstalledSetup(installDir);
    return true;
}

void CSetupDlg::OnOK() {
    UpdateData(TRUE);
    if (!InstallProduct())
        return;
    CString message = LoadText(TXT_INSTALL_DONE);
    CString caption = LoadText(TXT_INSTALL_DONE_CAPTION);
    MessageBox(TextOr(message, kInstallDoneFallback), TextOr(caption, kInstallDoneCaptionFallback),
               MB_OK);
    CDialog::OnOK();
}
