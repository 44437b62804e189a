#include "Session.h"

#include <algorithm>

#include "Paths.h"
#include "ShellWindows.h"
#include "StandInNames.h"
#include "tools/windriver/Wait.h"
#include "res/resource.h"

namespace e2e {

using namespace windriver;

namespace {

std::string DescribeRunState(const Process& process) {
    return process.IsRunning() ? "setup is still running"
                               : "setup ended with status " + std::to_string(process.ExitCode());
}

// What a person sees of a box: "'caption': 'text' [OK], no icon".
std::string Shown(const std::string& caption, const std::string& text,
                  const std::vector<std::string>& buttons, const std::string& icon) {
    std::string shown = "'" + caption + "': '" + text + "'";
    for (const std::string& button : buttons)
        shown += " [" + button + "]";
    return shown + ", " + icon;
}

// The system icons by MB_ICONMASK / 0x10, and by resource number from
// IDI_HAND (32513) on.
const char* const kIcons[] = {"no icon", "stop icon", "question icon", "exclamation icon",
                              "information icon"};

std::string IconOf(UINT style) {
    UINT icon = (style & MB_ICONMASK) >> 4;
    return icon < 5 ? kIcons[icon] : "icon " + std::to_string(icon);
}

// The icon control of a box names its system icon (e2e_iconhook.dll).
std::string IconOf(const MessageBoxInfo& box) {
    if (!box.icon)
        return kIcons[0];
    for (HWND child : ChildWindows(box.window, "Static")) {
        UINT_PTR resource = reinterpret_cast<UINT_PTR>(GetPropA(child, kIconProperty));
        if (resource > 32512 && resource < 32517)
            return kIcons[resource - 32512];
    }
    return "an icon the hook did not name";
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

std::string Appearance(const MessageBoxInfo& box) {
    return Shown(box.caption, box.text, box.buttons, IconOf(box));
}

std::string Appearance(const SetupMessage& message) {
    std::vector<std::string> buttons = {"OK"};
    if ((message.style & MB_TYPEMASK) == MB_YESNO)
        buttons = {"Yes", "No"};
    if ((message.style & MB_TYPEMASK) == MB_RETRYCANCEL)
        buttons = {"Retry", "Cancel"};
    return Shown(message.caption, message.text, buttons, IconOf(message.style));
}

namespace {

// Setup hands what it starts to the desktop's shell from Vista on, and
// starts nothing when the shell does not answer: it must be up first.
Process StartWithShellUp(const StartOptions& options, const std::string& program,
                         const Where& where) {
    Require(!IsVistaOrLater() || WaitForDesktopShell(), where,
            "the desktop's shell never answered");
    return Process::Start(program.empty() ? SetupExe() : program, options, where);
}

} // namespace

Session::Session(const StartOptions& options, const std::string& program, Where where)
    : process_(StartWithShellUp(options, program, where)) {}

HWND Session::WaitForBox(HWND except, const std::string& what, const Where& where) {
    HWND box = nullptr;
    WaitUntil(
        [&] {
            box = WaitForDialogBox(process_.Id(), except, 0);
            if (!box && dialog_)
                box = OwnedBox(dialog_, except);
            return box || !process_.IsRunning();
        },
        what, where);
    Require(box != nullptr, where, "no " + what + ": " + DescribeRunState(process_));
    return box;
}

void Session::WaitForInput(const std::string& after, const Where& where) {
    WaitUntil([&] { return IsWindowEnabled(dialog_) || !process_.IsRunning(); },
              "the dialog to take input again" + after, where);
}

HWND Session::WaitForDialog(Where where) {
    HWND window = WaitForBox(nullptr, "setup dialog", where);
    if (!GetDlgItem(window, IDC_LANGUAGE))
        Fail(where, "a message box came before the setup dialog: " +
                        Describe(At(where, [&] { return ReadMessageBox(window); })));
    dialog_ = window;
    return dialog_;
}

void Session::ChooseLanguage(const std::string& language, Where where) {
    At(where, [&] { ChooseComboItem(dialog_, IDC_LANGUAGE, language, true); });
}

void Session::PostLanguageChoice(const std::string& language, Where where) {
    At(where, [&] { ChooseComboItem(dialog_, IDC_LANGUAGE, language, false); });
}

void Session::SetField(const std::string& text, Where where) {
    At(where, [&] { SetText(GetDlgItem(dialog_, IDC_INSTALL_PATH), text); });
}

std::string Session::Field(Where where) const {
    return At(where, [&] { return ControlText(dialog_, IDC_INSTALL_PATH); });
}

void Session::Press(int controlId) {
    PostClick(dialog_, controlId);
}

MessageBoxInfo Session::NextBox(Where where) {
    HWND box = WaitForBox(dialog_, "message box", where);
    return At(where, [&] { return ReadMessageBox(box); });
}

void Session::Answer(const MessageBoxInfo& box, const std::string& button, Where where) {
    Require(PostClickOn(box.window, button), where, "no button " + button + " in " + Describe(box));
    Require(WaitForWindowGone(box.window, kTimeoutMs), where,
            "still open after " + button + ": " + Describe(box));
}

void Session::Drain(Where where) {
    // The edit control's modified flag: nothing of setup reads it, and it
    // can be set by a posted message and read by a sent one.
    HWND field = GetDlgItem(dialog_, IDC_INSTALL_PATH);
    At(where, [&] {
        bool modified = Send(field, EM_GETMODIFY, 0, 0) != 0;
        PostMessageA(field, EM_SETMODIFY, !modified, 0);
        windriver::WaitUntil([&] { return (Send(field, EM_GETMODIFY, 0, 0) != 0) != modified; },
                             "the dialog to handle what was posted to it");
        Send(field, EM_SETMODIFY, modified, 0);
    });
}

std::vector<HWND> Session::OtherBoxes() const {
    std::vector<HWND> boxes = TopLevelWindows(process_.Id(), "#32770");
    boxes.erase(std::remove(boxes.begin(), boxes.end(), dialog_), boxes.end());
    if (HWND owned = OwnedBox(dialog_, nullptr))
        boxes.push_back(owned);
    return boxes;
}

DWORD Session::WaitForEnd(Where where) {
    Require(process_.WaitForExit(kTimeoutMs), where, "setup did not end");
    return process_.ExitCode();
}

DWORD Session::Exit(Where where) {
    Press(IDCANCEL);
    return WaitForEnd(where);
}

MessageBoxInfo Session::Install(bool byEnter, Where where) {
    // A person can press Install only while no installation runs.
    WaitForInput("", where);
    if (byEnter) {
        HWND field = GetDlgItem(dialog_, IDC_INSTALL_PATH);
        PostMessageA(field, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        PostMessageA(field, WM_KEYUP, VK_RETURN, 0xC01C0001);
    } else {
        Press(IDOK);
    }
    return NextBox(where);
}

void Session::ExpectMessage(const MessageBoxInfo& box, const SetupMessage& message, Where where) {
    std::string want = Appearance(message) + ", owned by the dialog";
    std::string got = Appearance(box) + (box.owner == dialog_ ? ", owned by the dialog"
                                                              : ", not owned by the dialog");
    Require(got == want, where, "expected " + want + "\n     got " + got);
    Answer(box, "OK", where);
}

void Session::ExpectFailure(const MessageBoxInfo& box, const SetupMessage& failure, Where where) {
    ExpectMessage(box, failure, where);
    // An elevated part that showed the message ends before the dialog takes
    // input again.
    WaitForInput(" after " + Describe(box), where);
    Drain(where);
    Require(process_.IsRunning() && IsWindowVisible(dialog_) && IsWindowEnabled(dialog_), where,
            "after " + Describe(box) +
                " the dialog is not open and usable: " + DescribeRunState(process_));
    std::vector<HWND> more = OtherBoxes();
    if (!more.empty())
        Fail(where, "after " + Describe(box) + " then " +
                        Describe(At(where, [&] { return ReadMessageBox(more[0]); })));
}

void Session::ExpectRefusal(const std::string& typed, const SetupMessage& failure, bool byEnter,
                            Where where) {
    SetField(typed, where);
    ExpectFailure(Install(byEnter, where), failure, where);
}

void Session::Finish(const MessageBoxInfo& done, const SetupMessage& message, Where where) {
    ExpectMessage(done, message, where);
    DWORD status = WaitForEnd(where);
    Require(status == 0, where, "setup ended with status " + std::to_string(status));
}

std::string Describe(const MessageBoxInfo& box) {
    if (!box.window)
        return "no box";
    return "box '" + box.caption + "': '" + box.text + "'";
}

} // namespace e2e
