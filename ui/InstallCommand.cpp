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
#include "text/TextCatalogue.h"

namespace {

// Shown when the language table lacks the completion message or its caption.
const char kInstallDoneFallback[] = "The Vellmor has been installed.";
const char kInstallDoneCaptionFallback[] = "Installation Complete";

const char kNoRoomFormat[] = "The Vellmor needs %lu MB of free space on the destination drive, "
                             "which has only %lu MB free.\n\nInstall anyway?";
const char kNoRoomCaption[] = "Not Enough Space";

int ShowMessage(const CWnd& owner, const InstallMessage& message) {
    return owner.MessageBox(message.text, message.caption, message.style);
}

// The installation as the user at the dialog sees it: message boxes.
class DialogReport : public InstallReport {
  public:
    explicit DialogReport(const CWnd& dialog) : m_dialog(dialog) {}

    void StepRan(const char*, const InstallMessage*, DWORD) override {}
    void Tell(const InstallMessage& failure) override { ShowMessage(m_dialog, failure); }
    // The estimate may be wrong (compression, quotas): the user decides,
    // No the default.
    bool GoOnWithoutRoom(uint64_t needed, uint64_t available) override {
        char question[256];
        FormatText(question, sizeof question, kNoRoomFormat, (unsigned long)MegabytesNeeded(needed),
                   (unsigned long)MegabytesFree(available));
        return m_dialog.MessageBox(question, kNoRoomCaption,
                                   MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
    }

  private:
    const CWnd& m_dialog;
};

} // namespace

void CSetupDlg::FindSourceRoot(char* root) {
    if (FindMediumRoot(root))
        return;
    ShowMessage(*this, kNoMedium);
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
    InstallRequest request = {m_strInstallPath, language, GlideBox().IsChecked(), m_hWnd};
    DialogReport report(*this);
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
