#pragma once
// CWnd: a window handle with typed one-line wrappers and message dispatch
// through the class's message table.

#include "platform/CmdTarget.h"
#include "platform/String.h"

class CWnd : public CCmdTarget {
  public:
    CWnd() : m_hWnd(nullptr) {}

    HWND m_hWnd;
    operator HWND() const { return m_hWnd; }

    // Binds the wrapper to an existing window (no subclassing: the wrapper
    // only issues calls on it).
    void Attach(HWND hWnd) { m_hWnd = hWnd; }

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }

    void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
    void GetWindowText(CString& text) const;
    void SetDlgItemText(int id, const char* text) { ::SetDlgItemTextA(m_hWnd, id, text); }
    void EnableWindow(bool enable) { ::EnableWindow(m_hWnd, enable); }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    bool IsIconic() const { return ::IsIconic(m_hWnd) != FALSE; }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    HMENU GetSystemMenu(bool revert) const { return ::GetSystemMenu(m_hWnd, revert); }

    // Centres the window over its owner, or on the screen when it has none
    // (or its owner is hidden or minimised).
    void CenterWindow();

    // A message box owned by this window. Without a caption of its own it
    // shows the application's name.
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK) const;

    // Inside a handler: let the system's default processing handle the
    // message once the handler returns.
    void Default();

  protected:
    // Routes a message through the message table; false when no row
    // handled it (or the handler asked for default processing).
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  private:
    bool* m_pDefaultRequested = nullptr; // the message being handled, if any
};
