#include "app/SetupApp.h"

#include <commctrl.h>

#include "app/SetupDlg.h"
#include "text/Format.h"

BEGIN_MESSAGE_MAP(CSetupApp)
ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

namespace {

// The exit status of a run whose dialog could not be created.
const int kDialogFailedStatus = 1;

// Nothing else tells the user that setup started and failed: without this
// the process would end silently.
void ReportDialogFailure(DWORD error) {
    char text[128];
    FormatText(text, sizeof text, "Setup could not open its window (error %lu).", error);
    ::MessageBoxA(nullptr, text, AfxGetAppName(), MB_OK | MB_ICONHAND);
}

} // namespace

BOOL CSetupApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControlsStatic();
    // The manifest asks for Common Controls 6, whose window classes Windows
    // XP registers only once the program has initialised the library: the
    // dialog's edit, combo box and buttons could not be created otherwise.
    ::InitCommonControls();

    CSetupDlg dialog;
    m_pMainWnd = &dialog;
    if (dialog.DoModal() == -1) {
        ReportDialogFailure(::GetLastError());
        AfxPostQuitMessage(kDialogFailedStatus);
    }
    return FALSE;
}

// The one application object.
CSetupApp theApp;
