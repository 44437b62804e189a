#include "app/SetupDlg.h"

BOOL CSetupDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    InitFrame();
    return TRUE;
}
