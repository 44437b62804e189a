#pragma once
// One run of Setup.exe, driven as a person would drive it: start it, wait for
// its dialog, choose a language, fill the install-path field, press a button,
// read the next message box and answer it, wait for the end; and the Install
// command's outcomes in one vocabulary. Every step waits (up to kTimeoutMs)
// for the program to get there; when it does not, the step fails at its
// caller's line saying what it found instead, and stops the test (Where.h).

#include <windows.h>

#include <string>

#include "Medium.h"
#include "Process.h"
#include "Where.h"
#include "tools/windriver/OtherWindows.h"

namespace e2e {

// A message box of setup as the user sees it: its text, its caption (without
// one of its own a box shows the application's name, "Setup"), and the
// MessageBox style that gives its buttons and its icon.
struct SetupMessage {
    template <class Style>
    constexpr SetupMessage(const char* text, const char* caption, Style style)
        : text(text), caption(caption), style(static_cast<UINT>(style)) {}
    // Whether the box shows the stop icon, as older tests say it.
    constexpr SetupMessage(const char* text, const char* caption, bool stopIcon)
        : SetupMessage(text, caption, stopIcon ? MB_ICONHAND : MB_OK) {}

    const char* text;
    const char* caption;
    UINT style;
};

// The completion message in the English table of Medium::Product().
constexpr SetupMessage kInstalled = {"The Vellmor has been installed.", "Setup complete", MB_OK};

// The installation's failure messages, fixed English texts.
constexpr SetupMessage kRootFailed = {"Could not create the destination root folder", "Error",
                                      MB_ICONHAND};
constexpr SetupMessage kPathTooLong = {"The destination folder's path is too long.", "Error",
                                       MB_ICONHAND};
constexpr SetupMessage kPathRelative = {"Please type the destination folder's full path, such as "
                                        "C:\\Games or \\\\Server\\Share\\Games.",
                                        "Error", MB_ICONHAND};
constexpr SetupMessage kVersionFailed = {"Could not create the Version file!", "Setup", MB_OK};
constexpr SetupMessage kCopyFailed = {"The files could not be copied.", "Copy Error", MB_OK};
constexpr SetupMessage kCancelled = {"Installation Cancelled.", "Cancelled", MB_OK};
constexpr SetupMessage kSourceFailed = {"Could not set source folder to current directory!",
                                        "Source Folder Error", MB_ICONHAND};
constexpr SetupMessage kShortcutFailed = {"Could not create the shortcut on the Start Menu.",
                                          "Shortcut Error", MB_OK};
constexpr SetupMessage kLanguageFailed = {"Could not copy the language files!",
                                          "Language Files Error", MB_OK};
constexpr SetupMessage kRendererFailed = {"Could not copy the Glide renderer library!",
                                          "Renderer Error", MB_OK};
constexpr SetupMessage kRegistryFailed = {"Could not record the installation in the registry!",
                                          "Registry Error", MB_OK};
// What ends setup when no drive holds its disc.
constexpr SetupMessage kNoMedium = {kNoMediumText, kNoMediumCaption, MB_ICONEXCLAMATION | MB_OK};

// What a person sees of a box, or of a message as its style shows it:
// "'caption': 'text' [Yes] [No], no icon". Compare the two with EXPECT_EQ,
// while the box is open: its icon is named from its icon control.
std::string Appearance(const windriver::MessageBoxInfo& box);
std::string Appearance(const SetupMessage& message);

class Session {
  public:
    // Starts Setup.exe (SetupExe(), or `program`: a copy of it).
    explicit Session(const StartOptions& options = {}, const std::string& program = "",
                     Where where = Where::Here());

    Process& Program() { return process_; }
    DWORD Id() const { return process_.Id(); }

    // Waits for the setup dialog (the dialog box with the language list) and
    // gives it; fails when setup shows a message box first or ends.
    HWND WaitForDialog(Where where = Where::Here());
    // The dialog once WaitForDialog has found it, else null.
    HWND Dialog() const { return dialog_; }

    // Selects `language` in the list and tells the dialog, as a person's
    // choice does; returns once the dialog has handled the change.
    void ChooseLanguage(const std::string& language, Where where = Where::Here());
    // The same without waiting for the handler: for a change that opens a
    // message box (read it with NextBox).
    void PostLanguageChoice(const std::string& language, Where where = Where::Here());

    // Sets the install-path field's text; fails when it does not take it.
    void SetField(const std::string& text, Where where = Where::Here());
    std::string Field(Where where = Where::Here()) const;

    // Posts a click on one of the dialog's buttons (IDOK Install, IDCANCEL
    // Exit, IDC_BROWSE).
    void Press(int controlId);

    // The next message box of setup (any dialog box but the setup dialog),
    // read once it is shown; fails when none comes.
    windriver::MessageBoxInfo NextBox(Where where = Where::Here());
    // Presses the button `button` ("OK", "No") of `box` and waits until the
    // box has gone.
    void Answer(const windriver::MessageBoxInfo& box, const std::string& button,
                Where where = Where::Here());

    // Returns once the dialog has handled everything posted to it before (a
    // click, a key): a marker posted after them has taken effect. A box
    // that a handler opened exists by then, shown or about to be.
    void Drain(Where where = Where::Here());
    // Every dialog box of setup but the setup dialog, shown or not yet.
    std::vector<HWND> OtherBoxes() const;

    // Waits until setup ends and gives its exit status; fails when it does
    // not end.
    DWORD WaitForEnd(Where where = Where::Here());
    // Presses Exit and waits for the end: its exit status.
    DWORD Exit(Where where = Where::Here());

    // The Install command. Presses Install (`byEnter`: Enter in the
    // install-path field, Install being the default button) and gives the
    // first box the installation shows.
    windriver::MessageBoxInfo Install(bool byEnter = false, Where where = Where::Here());
    // Checks that `box` shows `message` (Appearance) and is owned by the
    // dialog, then answers OK.
    void ExpectMessage(const windriver::MessageBoxInfo& box, const SetupMessage& message,
                       Where where = Where::Here());
    // A failure: ExpectMessage, then, once Install's handler is done, the
    // dialog is still there, usable, and nothing more is shown.
    void ExpectFailure(const windriver::MessageBoxInfo& box, const SetupMessage& failure,
                       Where where = Where::Here());
    // Types `typed` into the field, installs and expects `failure`.
    void ExpectRefusal(const std::string& typed, const SetupMessage& failure, bool byEnter = false,
                       Where where = Where::Here());
    // The completion: ExpectMessage, then setup ends with status 0.
    void Finish(const windriver::MessageBoxInfo& done, const SetupMessage& message = kInstalled,
                Where where = Where::Here());

  private:
    // A shown dialog box of setup other than `except`; fails, naming
    // `what`, when setup ends first or none comes.
    HWND WaitForBox(HWND except, const std::string& what, const Where& where);
    // Waits until the dialog takes input again (or setup has ended).
    void WaitForInput(const std::string& after, const Where& where);

    Process process_;
    HWND dialog_ = nullptr;
};

// "box 'caption': 'text'", or "no box", for failure messages.
std::string Describe(const windriver::MessageBoxInfo& box);

} // namespace e2e
