#pragma once
// CWaitCursor: shows the hourglass from construction to destruction. While
// one exists, the framework's dialogs keep the hourglass up whenever the
// system asks them for a cursor.

#include <windows.h>

class CWaitCursor {
  public:
    CWaitCursor();
    ~CWaitCursor();

    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    static bool IsActive() { return s_count > 0; }
    static void Show() { ::SetCursor(::LoadCursorA(nullptr, (LPCSTR)IDC_WAIT)); }

  private:
    HCURSOR m_previous;
    static int s_count;
};
