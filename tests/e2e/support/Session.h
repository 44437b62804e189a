#pragma once
// One run of Setup.exe, driven as a person would drive it: start it, wait for
// its dialog, choose a language, fill the install-path field, press a button,
// read the next message box and answer it, wait for the end. Every step waits
// (up to kTimeoutMs) for the program to get there, and throws a
// std::runtime_error saying what it found instead when it does not.

#include <windows.h>

#include <string>

#include "Process.h"
#include "tools/windriver/Ui.h"

namespace e2e {

using namespace windriver;

class Session {
  public:
    // Starts Setup.exe (SetupExe(), or `program`: a copy of it).
    explicit Session(const StartOptions& options = {}, const std::string& program = "");

    Process& Program() { return process_; }
    DWORD Id() const { return process_.Id(); }

    // Waits for the setup dialog (the dialog box with the language list) and
    // gives it; throws when setup shows a message box first or ends.
    HWND WaitForDialog();
    // The dialog once WaitForDialog has found it, else null.
    HWND Dialog() const { return dialog_; }

    // Selects `language` in the list and tells the dialog, as a person's
    // choice does; returns once the dialog has handled the change.
    void ChooseLanguage(const std::string& language);
    // The same without waiting for the handler: for a change that opens a
    // message box (read it with NextBox).
    void PostLanguageChoice(const std::string& language);

    // Sets the install-path field's text; throws when it does not take it.
    void SetField(const std::string& text);
    std::string Field() const;

    // Posts a click on one of the dialog's buttons (IDOK Install, IDCANCEL
    // Exit, IDC_BROWSE).
    void Press(int controlId);

    // The next message box of setup (any dialog box but the setup dialog),
    // read once it is shown; throws when none comes.
    MessageBoxInfo NextBox();
    // Presses the button `button` ("OK", "No") of `box` and waits until the
    // box has gone.
    void Answer(const MessageBoxInfo& box, const std::string& button);

    // Returns once the dialog has handled everything posted to it before (a
    // click, a key): a marker posted after them has taken effect. A box
    // that a handler opened exists by then, shown or about to be.
    void Drain();
    // Every dialog box of setup but the setup dialog, shown or not yet.
    std::vector<HWND> OtherBoxes() const;

    // Waits until setup ends and gives its exit status; throws when it does
    // not end.
    DWORD WaitForEnd();
    // Presses Exit and waits for the end: its exit status.
    DWORD Exit();

  private:
    // A shown dialog box of setup other than `except`; throws, naming
    // `what`, when setup ends first or none comes.
    HWND WaitForBox(HWND except, const std::string& what);

    Process process_;
    HWND dialog_ = nullptr;
};

// "box 'caption': 'text'", or "no box", for failure messages.
std::string Describe(const MessageBoxInfo& box);

} // namespace e2e
