#include "app/SetupApp.h"

#include <commctrl.h>

#include "app/SetupDlg.h"
#include "app/Uninstall.h"
#include "app/Unattended.h"
#include "install/ExitCodes.h"
#include "text/Format.h"

BEGIN_MESSAGE_MAP(CSetupApp)
ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

namespace {

// Nothing else tells the user that setup started and failed: without this
// the process would end silently.
void ReportDialogFailure(DWORD error) {
    char text[128];
    FormatText(text, sizeof text, "Setup could not open its window (error %lu).", error);
    ::MessageBoxA(nullptr, text, AfxGetAppName(), MB_OK | MB_ICONHAND);
}

// A person who typed a wrong switch learns which; a script (once /S or
// /VERYSILENT has been read) only gets the exit status.
void ReportUsage(const char* bad) {
    char text[512];
    FormatText(text, sizeof text,
               "Unknown or incomplete argument: %s\n\nSetup takes /VERYSILENT (or /S), "
               "/DIR=\"folder\" (or /D=folder, last), /LANG=language and /LOG=\"file\".",
               bad);
    ::MessageBoxA(nullptr, text, AfxGetAppName(), MB_OK | MB_ICONHAND);
}

} // namespace

BOOL CSetupApp::InitInstance() {
    SetupOptions options;
    char bad[128];
    if (!ParseCommandLine(SkipProgramName(::GetCommandLineA()), options, bad, sizeof bad)) {
        if (!options.silent)
            ReportUsage(bad);
        AfxPostQuitMessage(kExitUsage);
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
    }
    return FALSE;
}

// The one application object.
CSetupApp theApp;
