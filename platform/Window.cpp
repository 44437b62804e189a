#include "platform/Window.h"

#include "platform/Application.h"

void CWnd::GetWindowText(CString& text) const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    char* buffer = text.GetBuffer(length);
    if (!buffer)
        return;
    buffer[0] = '\0';
    ::GetWindowTextA(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer();
}

static bool IsUsableOwner(HWND owner) {
    return owner && ::IsWindowVisible(owner) && !::IsIconic(owner);
}

void CWnd::CenterWindow() {
    RECT window, area;
    ::GetWindowRect(m_hWnd, &window);
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (IsUsableOwner(owner))
        ::GetWindowRect(owner, &area);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);

    int width = window.right - window.left;
    int height = window.bottom - window.top;
    int x = (area.left + area.right - width) / 2;
    int y = (area.top + area.bottom - height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) const {
    if (!caption)
        caption = AfxGetAppName();
    return ::MessageBoxA(m_hWnd, text, caption, type);
}

void CWnd::Default() {
    if (m_pDefaultRequested)
        *m_pDefaultRequested = true;
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const MessageMapEntry* entry = FindHandler(message, HIWORD(wParam), LOWORD(wParam));
    if (!entry)
        return false;

    // Handlers may run nested modal loops that dispatch further messages to
    // this window, so each message keeps its own flag.
    bool defaultRequested = false;
    bool* outer = m_pDefaultRequested;
    m_pDefaultRequested = &defaultRequested;
    CallHandler(*entry, wParam, lParam, result);
    m_pDefaultRequested = outer;
    return !defaultRequested;
}
