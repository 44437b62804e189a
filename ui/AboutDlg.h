#pragma once
// The About box, opened from the setup dialog's system menu. Its texts are
// fixed in its template.

#include "platform/Dialog.h"
#include "res/resource.h"

class CAboutDlg : public CDialog {
  public:
    CAboutDlg() : CDialog(IDD) {}
    enum { IDD = IDD_ABOUTBOX };

    DECLARE_MESSAGE_MAP(CAboutDlg, CDialog)
};
