#pragma once
// Wrappers of the standard controls that setup uses.

#include <stddef.h>

#include "platform/Window.h"

class CEdit : public CWnd {};

class CButton : public CWnd {
  public:
    bool IsChecked() const { return SendMessage(BM_GETCHECK) == BST_CHECKED; }
    void SetCheck(bool checked) { SendMessage(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
};

class CComboBox : public CWnd {
  public:
    int GetCount() const { return (int)SendMessage(CB_GETCOUNT); }
    int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL); }
    int SetCurSel(int index) { return (int)SendMessage(CB_SETCURSEL, (WPARAM)index); }
    // The position at which the (sorting) box inserted the text.
    int AddString(const char* text) { return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)text); }
    int DeleteString(int index) { return (int)SendMessage(CB_DELETESTRING, (WPARAM)index); }
    // The position of the entry whose whole text is `text`, in any case of
    // its letters; CB_ERR when there is none.
    int FindStringExact(const char* text) const {
        return (int)SendMessage(CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text);
    }

    // Copies the text of entry `index` into buffer; false (and an empty
    // buffer) when there is no such entry or its text does not fit.
    bool GetLBText(int index, char* buffer, size_t size) const;
};
