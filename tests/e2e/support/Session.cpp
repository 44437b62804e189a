#include "Session.h"

#include <algorithm>
#include <stdexcept>

#include "Paths.h"
#include "tools/windriver/Wait.h"
#include "res/resource.h"

namespace e2e {

using namespace windriver;

namespace {

std::string DescribeRunState(const Process& process) {
    return process.IsRunning() ? "setup is still running"
                               : "setup ended with status " + std::to_string(process.ExitCode());
}

// What a person sees of a box: "'caption': 'text' [OK], no icon, owned by
// the dialog".
std::string Appearance(const std::string& caption, const std::string& message,
                       const std::vector<std::string>& buttons, bool icon, bool ownedByDialog) {
    std::string text = "'" + caption + "': '" + message + "'";
    for (const std::string& button : buttons)
        text += " [" + button + "]";
    return text + (icon ? ", an icon" : ", no icon") +
           (ownedByDialog ? ", owned by the dialog" : ", not owned by the dialog");
}

struct OwnedQuery {
    HWND dialog, except, found;
};

BOOL CALLBACK MatchOwned(HWND window, LPARAM parameter) {
    OwnedQuery& query = *reinterpret_cast<OwnedQuery*>(parameter);
    if (window == query.except || !IsWindowVisible(window) ||
        GetWindow(window, GW_OWNER) != query.dialog || ClassOf(window) != "#32770")
        return TRUE;
    query.found = window;
    return FALSE;
}

// A shown dialog box that `dialog` owns, of any process, other than
// `except`: without administrator rights setup's installation runs in an
// elevated copy of it, whose messages the dialog owns.
HWND OwnedBox(HWND dialog, HWND except) {
    OwnedQuery query{dialog, except, nullptr};
    EnumWindows(MatchOwned, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

} // namespace

Session::Session(const StartOptions& options, const std::string& program)
    : process_(Process::Start(program.empty() ? SetupExe() : program, options)) {}

HWND Session::WaitForBox(HWND except, const std::string& what) {
    HWND box = nullptr;
    WaitUntil(
        [&] {
            box = WaitForDialogBox(process_.Id(), except, 0);
            if (!box && dialog_)
                box = OwnedBox(dialog_, except);
            return box || !process_.IsRunning();
        },
        what);
    if (!box)
        throw std::runtime_error("no " + what + ": " + DescribeRunState(process_));
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
    ChooseComboItem(dialog_, IDC_LANGUAGE, language, true);
}

void Session::PostLanguageChoice(const std::string& language) {
    ChooseComboItem(dialog_, IDC_LANGUAGE, language, false);
}

void Session::SetField(const std::string& text) {
    SetText(GetDlgItem(dialog_, IDC_INSTALL_PATH), text);
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

void Session::Drain() {
    // The edit control's modified flag: nothing of setup reads it, and it
    // can be set by a posted message and read by a sent one.
    HWND field = GetDlgItem(dialog_, IDC_INSTALL_PATH);
    bool modified = Send(field, EM_GETMODIFY, 0, 0) != 0;
    PostMessageA(field, EM_SETMODIFY, !modified, 0);
    WaitUntil([&] { return (Send(field, EM_GETMODIFY, 0, 0) != 0) != modified; },
              "the dialog to handle what was posted to it");
    Send(field, EM_SETMODIFY, modified, 0);
}

std::vector<HWND> Session::OtherBoxes() const {
    std::vector<HWND> boxes = TopLevelWindows(process_.Id(), "#32770");
    boxes.erase(std::remove(boxes.begin(), boxes.end(), dialog_), boxes.end());
    if (HWND owned = OwnedBox(dialog_, nullptr))
        boxes.push_back(owned);
    return boxes;
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

MessageBoxInfo Session::Install(bool byEnter) {
    // A person can press Install only while no installation runs.
    WaitUntil([&] { return IsWindowEnabled(dialog_) || !process_.IsRunning(); },
              "the dialog to take input again");
    if (byEnter) {
        HWND field = GetDlgItem(dialog_, IDC_INSTALL_PATH);
        PostMessageA(field, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        PostMessageA(field, WM_KEYUP, VK_RETURN, 0xC01C0001);
    } else {
        Press(IDOK);
    }
    return NextBox();
}

MessageBoxInfo Session::InstallOverCopy(const std::string& answer) {
    MessageBoxInfo question = Install();
    if (question.owner != dialog_)
        throw std::runtime_error("the shell did not ask: " + Describe(question));
    Answer(question, answer);
    return NextBox();
}

void Session::ExpectMessage(const MessageBoxInfo& box, const SetupMessage& message) {
    std::string want = Appearance(message.caption, message.text, {"OK"}, message.icon, true);
    std::string got =
        Appearance(box.caption, box.text, box.buttons, box.icon != nullptr, box.owner == dialog_);
    if (got != want)
        throw std::runtime_error("expected " + want + "; got " + got);
    Answer(box, "OK");
}

void Session::ExpectFailure(const MessageBoxInfo& box, const SetupMessage& failure) {
    ExpectMessage(box, failure);
    // An elevated part that showed the message ends before the dialog takes
    // input again.
    WaitUntil([&] { return IsWindowEnabled(dialog_) || !process_.IsRunning(); },
              "the dialog to take input again after " + Describe(box));
    Drain();
    if (!process_.IsRunning() || !IsWindowVisible(dialog_) || !IsWindowEnabled(dialog_))
        throw std::runtime_error("after " + Describe(box) + " the dialog is not open and usable: " +
                                 DescribeRunState(process_));
    std::vector<HWND> more = OtherBoxes();
    if (!more.empty())
        throw std::runtime_error("after " + Describe(box) + " then " +
                                 Describe(ReadMessageBox(more[0])));
}

void Session::ExpectRefusal(const std::string& typed, const SetupMessage& failure, bool byEnter) {
    SetField(typed);
    ExpectFailure(Install(byEnter), failure);
}

void Session::Finish(const MessageBoxInfo& done, const SetupMessage& message) {
    ExpectMessage(done, message);
    DWORD status = WaitForEnd();
    if (status != 0)
        throw std::runtime_error("setup ended with status " + std::to_string(status));
}

std::string Describe(const MessageBoxInfo& box) {
    if (!box.window)
        return "no box";
    return "box '" + box.caption + "': '" + box.text + "'";
}

} // namespace e2e
