#include "app/SetupApp.h"

#include <commctrl.h>

#include "app/Unattended.h"
#include "common/Elevation.h"
#include "common/ExitCodes.h"
#include "common/OneSetup.h"
#include "common/ProgramLanguage.h"
#include "platform/Layout.h"
#include "text/Format.h"
#include "text/LocalText.h"
#include "ui/SetupDlg.h"
#include "uninstall/Uninstall.h"

BEGIN_MESSAGE_MAP(CSetupApp)
ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

namespace {

// A failure before or without the dialog, in the language kept beside the
// program.
void ReportFailure(TextRef text, const char* insert) {
    LanguageTexts texts;
    LoadProgramLanguage(texts);
    ::MessageBoxA(nullptr, LocalText(texts, text, insert), AfxGetAppName(),
                  ReadingStyle(MB_OK | MB_ICONHAND, texts.RightToLeft()));
}

// Nothing else tells the user that setup started and failed: without this
// the process would end silently.
void ReportDialogFailure(DWORD error) {
    ReportFailure(kText<TXT_WINDOW_FAILED>, ErrorNumber(error));
}

} // namespace

BOOL CSetupApp::InitInstance() {
    // Before any file is touched: an elevated process (setup's elevated
    // copy, or setup run as an administrator) must not follow a junction
    // that a standard user planted.
    if (IsElevatedOnVistaOrLater())
        EnableRedirectionGuard();
    SetupOptions options;
    char bad[128];
    if (!ParseCommandLine(SkipProgramName(::GetCommandLineA()), options, bad, sizeof bad)) {
        if (!options.silent)
            // A person who typed a wrong switch learns which; a script (once /S
            // or /VERYSILENT has been read) only gets the exit status.
            ReportFailure(kText<TXT_USAGE>, bad);
        AfxPostQuitMessage(kExitUsage);
        return FALSE;
    }
    // The elevated part is its starter's installation or removal: the
    // starter holds the lock.
    if (!options.elevated && !TakeSetupLock()) {
        if (!options.silent && !BringRunningSetupForward())
            ReportFailure(kText<TXT_SETUP_RUNNING>, nullptr);
        AfxPostQuitMessage(kExitSetupRunning);
        return FALSE;
    }
    if (options.uninstall) {
        AfxPostQuitMessage(RunUninstall(options));
        return FALSE;
    }
    if (options.silent || options.owner) {
        AfxPostQuitMessage(options.silent ? RunUnattended(options) : RunOwnedInstall(options));
        return FALSE;
    }

    AfxEnableControlContainer();
    Enable3dControlsStatic();
    // The manifest asks for Common Controls 6, whose window classes Windows
    // XP registers only once the program has initialised the library: the
    // dialog's edit, combo box and buttons could not be created otherwise.
    ::InitCommonControls();

    CSetupDlg dialog;
    dialog.Preset(options.folder, options.language);
    m_pMainWnd = &dialog;
    if (dialog.DoModal() == -1) {
        ReportDialogFailure(::GetLastError());
        AfxPostQuitMessage(kExitWindowFailed);
    } else {
        AfxPostQuitMessage(dialog.ExitCode());
    }
    return FALSE;
}

// The one application object.
CSetupApp theApp;
