#include "tools/windriver/OtherWindows.h"

#include <string.h>

#include <algorithm>
#include <stdexcept>

#include "tools/windriver/Wait.h"

namespace windriver {

namespace {

// The caption the system keeps for a top-level window: no message, so a
// window of a busy or ending thread cannot hold the search up.
std::string CaptionOf(HWND window) {
    char caption[1024] = "";
    GetWindowTextA(window, caption, sizeof caption);
    return caption;
}

struct WindowQuery {
    DWORD pid;
    const char* caption;
    const char* className;
    HWND except;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
    WindowQuery* query = reinterpret_cast<WindowQuery*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((query->pid && owner != query->pid) || window == query->except || !IsWindowVisible(window))
        return TRUE;
    if (query->className && ClassOf(window) != query->className)
        return TRUE;
    if (query->caption && CaptionOf(window) != query->caption)
        return TRUE;
    query->found = window;
    return FALSE;
}

struct TopLevelQuery {
    DWORD pid;
    const char* className;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    TopLevelQuery* query = reinterpret_cast<TopLevelQuery*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == query->pid && ClassOf(window) == query->className)
        query->found->push_back(window);
    return TRUE;
}

struct ChildQuery {
    const char* className;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    ChildQuery* query = reinterpret_cast<ChildQuery*>(param);
    if (!query->className || ClassOf(window) == query->className)
        query->found->push_back(window);
    return TRUE;
}

std::string Narrow(const wchar_t* wide) {
    int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return "";
    std::string text(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, &text[0], size, nullptr, nullptr);
    text.resize(size - 1);
    return text;
}

LRESULT SendWide(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kTimeoutMs, &result))
        throw std::runtime_error("no answer to message " + std::to_string(message));
    return static_cast<LRESULT>(result);
}

std::string StripAmpersands(const std::string& text) {
    std::string plain;
    for (char c : text) {
        if (c != '&')
            plain += c;
    }
    return plain;
}

} // namespace

HWND WaitForWindow(DWORD pid, const char* caption, const char* className, DWORD timeoutMs,
                   HWND except) {
    DWORD start = GetTickCount();
    for (;;) {
        WindowQuery query{pid, caption, className, except, nullptr};
        EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&query));
        if (query.found || GetTickCount() - start >= timeoutMs)
            return query.found;
        Sleep(kPollMs);
    }
}

std::vector<HWND> TopLevelWindows(DWORD pid, const char* className) {
    std::vector<HWND> found;
    TopLevelQuery query{pid, className, &found};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&query));
    return found;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kTimeoutMs, &result)) {
        if (!IsWindow(window))
            throw std::runtime_error("the window has gone");
        throw std::runtime_error("no answer to message " + std::to_string(message) + " within " +
                                 std::to_string(kTimeoutMs / 1000) + " s");
    }
    return static_cast<LRESULT>(result);
}

void Settle(HWND window) {
    Send(window, WM_NULL, 0, 0);
}

std::string WindowText(HWND window) {
    // Asked twice (length, then text): a text that changes in between is cut
    // at the shorter length, never overrun.
    LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(length + 1, '\0');
    Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(strlen(text.c_str()));
    return text;
}

std::string ControlText(HWND dialog, int controlId) {
    return WindowText(GetDlgItem(dialog, controlId));
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<std::string> ComboItems(HWND combo) {
    // Wide: Wine hands CB_GETLBTEXT of another process's combo box back in
    // UTF-16 even to SendMessageA.
    std::vector<std::string> items;
    LRESULT count = SendWide(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendWide(combo, CB_GETLBTEXTLEN, i, 0);
        if (length < 0)
            break;
        std::wstring wide(length + 1, L'\0');
        SendWide(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&wide[0]));
        items.push_back(Narrow(wide.c_str()));
    }
    return items;
}

int ComboSelection(HWND combo) {
    return static_cast<int>(Send(combo, CB_GETCURSEL, 0, 0));
}

bool IsChecked(HWND dialog, int controlId) {
    return Send(GetDlgItem(dialog, controlId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND window) {
    return IsWindowEnabled(window) != FALSE;
}

bool IsVisible(HWND window) {
    return IsWindowVisible(window) != FALSE;
}

std::vector<HWND> ChildWindows(HWND parent, const char* className) {
    std::vector<HWND> found;
    ChildQuery query{className, &found};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&query));
    return found;
}

MessageBoxInfo ReadMessageBox(HWND box) {
    // Shown means set up; an answer means its thread is in the box's loop.
    Settle(box);
    MessageBoxInfo info;
    info.window = box;
    info.caption = WindowText(box);
    info.owner = GetWindow(box, GW_OWNER);
    // The text is the static control that has text; the icon is a static
    // without. Its identifier differs between systems (0xFFFF, 100).
    for (HWND child : ChildWindows(box, "Static")) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child))
            info.icon = reinterpret_cast<HICON>(Send(child, STM_GETICON, 0, 0));
        std::string text = WindowText(child);
        if (!text.empty() && info.text.empty())
            info.text = text;
    }
    for (HWND child : ChildWindows(box, "Button")) {
        if (IsWindowVisible(child))
            info.buttons.push_back(StripAmpersands(WindowText(child)));
    }
    return info;
}

HWND WaitForDialogBox(DWORD pid, HWND except, DWORD timeoutMs) {
    return WaitForWindow(pid, nullptr, "#32770", timeoutMs, except);
}

HWND WaitForDialogBoxWhileRunning(DWORD pid, HANDLE process, HWND except) {
    HWND box = nullptr;
    WaitUntil(
        [&] {
            box = WaitForDialogBox(pid, except, 0);
            return box || WaitForSingleObject(process, 0) != WAIT_TIMEOUT;
        },
        "a window of process " + std::to_string(pid));
    return box;
}

MessageBoxInfo WaitForMessageBox(DWORD pid, DWORD timeoutMs, HWND except) {
    HWND box = WaitForDialogBox(pid, except, timeoutMs);
    if (!box)
        return MessageBoxInfo();
    return ReadMessageBox(box);
}

void SetText(HWND window, const std::string& text) {
    Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (WindowText(window) != text)
        throw std::runtime_error("the window did not take the text " + text);
}

void ChooseComboItem(HWND dialog, int comboId, const std::string& item, bool wait) {
    HWND combo = GetDlgItem(dialog, comboId);
    std::vector<std::string> items = ComboItems(combo);
    auto at = std::find(items.begin(), items.end(), item);
    if (at == items.end())
        throw std::runtime_error("the list has no " + item);
    Send(combo, CB_SETCURSEL, at - items.begin(), 0);
    WPARAM command = MAKEWPARAM(comboId, CBN_SELCHANGE);
    // A sent message would overtake a posted one, so the wait is a send.
    if (wait)
        Send(dialog, WM_COMMAND, command, reinterpret_cast<LPARAM>(combo));
    else
        PostMessageA(dialog, WM_COMMAND, command, reinterpret_cast<LPARAM>(combo));
}

void PostClick(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

bool PostClickOn(HWND dialog, const std::string& text) {
    for (HWND button : ChildWindows(dialog, "Button")) {
        if (StripAmpersands(WindowText(button)) == StripAmpersands(text)) {
            PostClick(dialog, GetDlgCtrlID(button));
            return true;
        }
    }
    return false;
}

} // namespace windriver
