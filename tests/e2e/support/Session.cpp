#include "Session.h"

#include <algorithm>
#include <stdexcept>

#include "Paths.h"
#include "Wait.h"
#include "res/resource.h"

namespace e2e {

namespace {

std::string Ended(const Process& process) {
    return process.IsRunning() ? "setup is still running"
                               : "setup ended with status " + std::to_string(process.ExitCode());
}

} // namespace

Session::Session(const StartOptions& options, const std::string& program)
    : process_(Process::Start(program.empty() ? SetupExe() : program, options)) {}

HWND Session::WaitForBox(HWND except, const std::string& what) {
    HWND box = nullptr;
    WaitUntil(
        [&] {
            box = WaitForDialogBox(process_.Id(), except, 0);
            return box || !process_.IsRunning();
        },
        what);
    if (!box)
        throw std::runtime_error("no " + what + ": " + Ended(process_));
    return box;
}

HWND Session::WaitForDialog() {
    HWND window = WaitForBox(nullptr, "setup dialog");
    if (!GetDlgItem(window, IDC_LANGUAGE))
        throw std::runtime_error("a message box came before the setup dialog: " +
                                 Describe(ReadMessageBox(window)));
    dialog_ = window;
    return dialog_;
}

void Session::ChooseLanguage(const std::string& language) {
    // Sent, so that it returns once handled; a sent message would overtake
    // a posted one.
    Send(dialog_, WM_COMMAND, SelectLanguage(language), reinterpret_cast<LPARAM>(Combo()));
}

void Session::PostLanguageChoice(const std::string& language) {
    PostMessageA(dialog_, WM_COMMAND, SelectLanguage(language), reinterpret_cast<LPARAM>(Combo()));
}

HWND Session::Combo() const {
    return GetDlgItem(dialog_, IDC_LANGUAGE);
}

WPARAM Session::SelectLanguage(const std::string& language) {
    std::vector<std::string> items = ComboItems(Combo());
    auto at = std::find(items.begin(), items.end(), language);
    if (at == items.end())
        throw std::runtime_error("the language list has no " + language);
    Send(Combo(), CB_SETCURSEL, at - items.begin(), 0);
    return MAKEWPARAM(IDC_LANGUAGE, CBN_SELCHANGE);
}

void Session::SetField(const std::string& text) {
    HWND field = GetDlgItem(dialog_, IDC_INSTALL_PATH);
    Send(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (WindowText(field) != text)
        throw std::runtime_error("the install-path field did not take " + text);
}

std::string Session::Field() const {
    return ControlText(dialog_, IDC_INSTALL_PATH);
}

void Session::Press(int controlId) {
    PostClick(dialog_, controlId);
}

MessageBoxInfo Session::NextBox() {
    return ReadMessageBox(WaitForBox(dialog_, "message box"));
}

void Session::Answer(const MessageBoxInfo& box, const std::string& button) {
    if (!PostClickOn(box.window, button))
        throw std::runtime_error("no button " + button + " in " + Describe(box));
    if (!WaitForWindowGone(box.window, kTimeoutMs))
        throw std::runtime_error("still open after " + button + ": " + Describe(box));
}

DWORD Session::WaitForEnd() {
    if (!process_.WaitForExit(kTimeoutMs))
        throw std::runtime_error("setup did not end");
    return process_.ExitCode();
}

DWORD Session::Exit() {
    Press(IDCANCEL);
    return WaitForEnd();
}

std::string Describe(const MessageBoxInfo& box) {
    if (!box.window)
        return "no box";
    return "box '" + box.caption + "': '" + box.text + "'";
}

} // namespace e2e
