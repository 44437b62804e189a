#pragma once
// CDialog: a modal dialog created from a resource template. The framework
// centres it when it opens (over its owner, or on the screen), routes its
// messages through the message tables and calls the overridable
// OnInitDialog, OnOK and OnCancel.

#include "platform/DataExchange.h"
#include "platform/Window.h"

class CDialog : public CWnd {
  public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Runs the dialog modally; the result is what EndDialog was given, or
    // -1 when the dialog could not be created (GetLastError tells why).
    INT_PTR DoModal();
    void EndDialog(INT_PTR result) {
        m_nModalResult = result;
        ::EndDialog(m_hWnd, result);
    }

    // Runs DoDataExchange: true moves control contents into the members,
    // false the members into the controls.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

  protected:
    virtual void DoDataExchange(CDataExchange*) {}

    // Exchanges the members into the controls.
    virtual BOOL OnInitDialog();
    // Saves the controls into the members and ends the dialog with IDOK.
    virtual void OnOK();
    // Ends the dialog with IDCANCEL.
    virtual void OnCancel();

    DECLARE_MESSAGE_MAP(CDialog, CWnd)

  private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HWND FindOwner() const;

    UINT m_templateId;
    CWnd* m_pParentWnd;
    // What EndDialog was given in this modal run; -1 before.
    INT_PTR m_nModalResult = -1;
};
