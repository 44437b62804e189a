#pragma once
// Looking at and driving another process's windows. Every wait is bounded;
// a window not found gives a null handle, a window that does not answer a
// message throws std::runtime_error. Clicks are posted, never sent: a click
// whose handler opens a modal window would block a SendMessage caller.

#include <windows.h>

#include <string>
#include <vector>

#include "tools/windriver/Wait.h"

namespace windriver {

// A visible top-level window of process `pid` (0: of any) whose caption and
// class match (null: any), waiting up to `timeoutMs`.
// A window equal to `except` does not count.
HWND WaitForWindow(DWORD pid, const char* caption, const char* className, DWORD timeoutMs,
                   HWND except = nullptr);
// Every top-level window of process `pid` of class `className`, shown or
// not.
std::vector<HWND> TopLevelWindows(DWORD pid, const char* className);
// True when `window` was destroyed within `timeoutMs`.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

// Sends a message and gives its result; throws when the window's thread does
// not answer within kTimeoutMs or the window is gone.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Returns once the window's thread has handled everything sent to it before
// and is back in a message loop (sends WM_NULL).
void Settle(HWND window);

// WM_GETTEXT of a window or of a dialog's control; throws when the window
// does not answer, so that a busy window never reads as an empty text.
std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int controlId);
std::string ClassOf(HWND window);

// Combo box items and the selected index (CB_ERR, -1, when none).
std::vector<std::string> ComboItems(HWND combo);
int ComboSelection(HWND combo);

bool IsChecked(HWND dialog, int controlId);
bool IsEnabled(HWND window);
bool IsVisible(HWND window);

// Children of `parent` (all levels) of class `className` (null: any).
std::vector<HWND> ChildWindows(HWND parent, const char* className = nullptr);

struct MessageBoxInfo {
    HWND window = nullptr;
    std::string caption;
    std::string text;
    std::vector<std::string> buttons; // button texts, in window order
    HWND owner = nullptr;
    // The icon shown, null without one. Only its presence can be told from
    // another process: Wine keeps an icon's pictures in the process that
    // loaded it.
    HICON icon = nullptr;
};

// A dialog box (class #32770) of process `pid` other than `except` (say,
// the setup dialog, which is a dialog box too).
HWND WaitForDialogBox(DWORD pid, HWND except, DWORD timeoutMs);
// A shown dialog box of process `pid` (its handle `process`) other than
// `except`; null when the process ends first. Throws when neither happens
// within kTimeoutMs.
HWND WaitForDialogBoxWhileRunning(DWORD pid, HANDLE process, HWND except);
// A message box (or any dialog box) of process `pid` other than `except`.
MessageBoxInfo WaitForMessageBox(DWORD pid, DWORD timeoutMs, HWND except = nullptr);
MessageBoxInfo ReadMessageBox(HWND box);

// Sets a window's text (WM_SETTEXT); throws when it does not take it.
void SetText(HWND window, const std::string& text);
// Selects `item` in the combo box `comboId` of `dialog` and tells the dialog
// (CBN_SELCHANGE), as a person's choice does. With `wait` the call returns
// once the dialog has handled it; without, the notification is posted (for a
// handler that opens a modal window). Throws when the list lacks `item`.
void ChooseComboItem(HWND dialog, int comboId, const std::string& item, bool wait);

// Posts a button's click (WM_COMMAND, BN_CLICKED) to `dialog`.
void PostClick(HWND dialog, int controlId);
// Posts the command of the button whose text is `text` ("OK", "&Yes").
bool PostClickOn(HWND dialog, const std::string& text);

} // namespace windriver
