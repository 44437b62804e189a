#include "app/SetupApp.h"

#include "app/SetupDlg.h"

BEGIN_MESSAGE_MAP(CSetupApp)
ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

BOOL CSetupApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    CSetupDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    return FALSE;
}

// The one application object.
CSetupApp theApp;
