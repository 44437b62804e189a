#pragma once
// Data exchange between a dialog's controls and its members. UpdateData
// builds one of these and runs the dialog's DoDataExchange with it.

#include "platform/Window.h"

class CDataExchange {
  public:
    CDataExchange(CWnd* dialog, bool saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CWnd* m_pDlgWnd;
    bool m_bSaveAndValidate; // true: controls to members; false: members to controls
};

// Binds `control` to the dialog's control `id` on the first exchange; it
// stays bound for the dialog's life.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

// Transfers the text of control `id` to or from `value`.
void DDX_Text(CDataExchange* pDX, int id, CString& value);
