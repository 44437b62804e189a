// The Install command and the installation's steps as the dialog's own:
// each gathers the dialog's values and calls the installation, which tells
// the user of its failures through message boxes owned by the dialog.

#include "common/CommandLine.h"
#include "common/Elevation.h"
#include "common/OneSetup.h"
#include "install/InstallPaths.h"
#include "install/SourceMedium.h"
#include "platform/Layout.h"
#include "platform/WaitCursor.h"
#include "text/LocalText.h"
#include "ui/DialogInstall.h"
#include "ui/SetupDlg.h"

bool CSetupDlg::FindSourceRoot(char* root) {
    if (FindMediumRoot(root))
        return true;
    TellNoMedium(*this, m_texts);
    return false;
}

bool CSetupDlg::IsGlideDriverPresent() {
    return GlideDriverInstalled();
}

// Without administrator rights the installation runs in an elevated copy of
// setup, which installs from the disc at `sourceRoot` with the dialog's
// values, shows its messages over the dialog and answers with its exit
// code; the dialog goes on as the player. A declined prompt writes nothing
// and says nothing; a prompt the system could not show is reported. False,
// with nothing started, when the typed text cannot be handed over as it
// is: the installation then runs here and tells why it cannot.
bool CSetupDlg::InstallElevated(const char* sourceRoot, const char* language, SetupExit& result) {
    SetupOptions options = {};
    char arguments[4 * MAX_PATH];
    options.owner = (unsigned long)(UINT_PTR)m_hWnd;
    options.glide = GlideBox().IsChecked();
    if (m_strInstallPath.IsEmpty() || !CopyPath(options.folder, (const char*)m_strInstallPath) ||
        !CopyPath(options.language, language) || !CopyPath(options.source, sourceRoot) ||
        !FormatElevatedCommandLine(arguments, sizeof arguments, options))
        return false;
    DWORD refused = 0;
    int code = RunElevated(arguments, m_hWnd, &refused);
    // A crash's code is no SetupExit: the dialog only needs to stay open.
    result = EndedWithoutWord(code) ? kExitUsage : (SetupExit)code;
    if (refused || EndedWithoutWord(code))
        MessageBox(
            LocalText(m_texts,
                      refused ? kText<TXT_ELEVATION_FAILED> : kText<TXT_ELEVATED_PART_FAILED>,
                      ErrorNumber(refused ? refused : (DWORD)code)),
            nullptr, ReadingStyle(MB_OK | MB_ICONHAND, m_texts.RightToLeft()));
    return true;
}

SetupExit CSetupDlg::InstallProduct() {
    // From the disc's scan on, until the installation has ended every way.
    CWaitCursor wait;
    char language[MAX_PATH] = "";
    m_comboLanguage.GetLBText(m_comboLanguage.GetCurSel(), language, sizeof language);
    // The disc before any prompt: without one, its message and the end.
    char sourceRoot[MAX_PATH];
    if (!FindSourceRoot(sourceRoot))
        return kExitNoMedium;
    PathBuffer installDir;
    SetupExit result = kExitInstalled;
    if (!NeedsElevation() || !InstallElevated(sourceRoot, language, result))
        result = InstallWithMessages(*this, m_texts, sourceRoot, m_strInstallPath, language,
                                     GlideBox().IsChecked(), installDir);
    else if (result == kExitInstalled && !InstallFolderFor(m_strInstallPath, installDir))
        return kExitPathRefused;
    if (result == kExitInstalled) {
        ReleaseSetupLock();
        StartInstalledSetup(installDir);
    }
    return result;
}

void CSetupDlg::OnOK() {
    // While an installation runs the dialog is disabled; a command posted to
    // it meanwhile starts no second one.
    if (!IsWindowEnabled())
        return;
    UpdateData(TRUE);
    SetupExit result = InstallProduct();
    // The disc went before the copy started (here, or in the elevated copy,
    // which said so): the program ends as it would have at its start.
    if (result == kExitNoMedium)
        EndSetup(kExitNoMedium);
    if (result != kExitInstalled)
        return;
    MessageBox(LocalText(m_texts, kText<TXT_INSTALL_DONE>),
               LocalText(m_texts, kText<TXT_INSTALL_DONE_CAPTION>),
               ReadingStyle(MB_OK, m_texts.RightToLeft()));
    CDialog::OnOK();
}
