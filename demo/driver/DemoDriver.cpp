// Walks the setup dialog through one installation without a person, for the
// unattended demo: starts D:\Setup.exe in D:\, picks a language, types an
// install folder, opens the About box and the folder picker, presses Install
// and answers the completion message. At every moment worth a picture it
// asks the demo script for a screenshot through a file in a folder the two
// share, and waits until the script has taken it.
//
// With --preview it pictures instead every kind of window a translator's
// texts appear in: the dialog, the folder picker, a failure message (a
// relative folder), the space question (a folder on SMALL_FOLDER's drive,
// which lacks space; "-" when there is none), the completion message, and
// the question setup asks when it finds the game installed (answered No,
// then Exit), and the question of the uninstaller that Apps & features'
// entry names. Every text of the language in them (the dialog's title,
// labels and buttons, the folder picker's caption and line, each message
// and its caption) must read as the language's table gives it decoded in
// CODEPAGE, the language's own: setup's texts reach the screen through the
// system's code page, so a system of another one shows other characters,
// which fail the comparison. A text that reads otherwise is said, with
// what was expected beside what was read, and the walk goes on, so that
// every picture is taken; the run fails at its end.
//
// usage: DemoDriver.exe SIGNAL_FOLDER LANGUAGE INSTALL_FOLDER
//                       [--preview SMALL_FOLDER CODEPAGE]
//
// Exit status 0 when the installation went through, 1 when a step or a
// check failed (the reason is printed), 2 on bad arguments. Every wait is
// bounded.

#include <windows.h>

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <exception>
#include <string>
#include <vector>

#include "res/resource.h"
#include "text/SetupPair.h"
#include "text/TextCatalogue.h"
#include "tools/windriver/OtherWindows.h"

using namespace windriver;

namespace {

const char kSetupPath[] = "D:\\Setup.exe";
const char kSetupFolder[] = "D:\\";
const char kStandInClass[] = "VellmorDemoStandIn";

std::string g_signalFolder;
int g_shotNumber = 0;
// The code page the language's table is in: its bytes decoded in it are
// what a player of that language reads.
UINT g_codePage = CP_ACP;

// Prints one line for the demo script, in UTF-8: the texts read from setup's
// windows are in the ANSI code page.
void PrintLine(const char* prefix, const char* format, va_list arguments) {
    char line[2048];
    vsnprintf(line, sizeof line, format, arguments);
    wchar_t wide[2048];
    char utf8[3 * 2048];
    if (!MultiByteToWideChar(CP_ACP, 0, line, -1, wide, 2048) ||
        !WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr))
        snprintf(utf8, sizeof utf8, "%s", line);
    printf("driver: %s%s\n", prefix, utf8);
    fflush(stdout);
}

__attribute__((format(printf, 1, 2))) void Say(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    PrintLine("", format, arguments);
    va_end(arguments);
}

void Screenshot(const char* name);
bool g_failing = false;
HANDLE g_setup = nullptr; // setup's process, ended when the walk-through fails

// Reports the failure and ends the walk-through, with a picture of the
// screen as it was.
__attribute__((format(printf, 1, 2))) [[noreturn]] void Fail(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    PrintLine("FAILED: ", format, arguments);
    va_end(arguments);
    if (!g_failing) {
        g_failing = true; // a screenshot that fails ends here
        Screenshot("failed");
    }
    if (g_setup)
        TerminateProcess(g_setup, 1);
    exit(1);
}

// The language's text `index` from the medium, as setup reads it: from the
// game's table or from setup's own pair. The walk-through fails when they
// lack it: setup would show the English, and a comparison with it would
// pass whether the language shows or not.
std::string MediumText(const std::string& language, int index) {
    LanguageTexts texts;
    std::string base = std::string(kSetupFolder) + "Languages\\";
    texts.Load((base + language).c_str(),
               (base + text::kSetupPairFolder + "\\" + language).c_str());
    char* block = texts.TableOf(index).GetString(index);
    std::string text = block ? block : "";
    free(block);
    if (text.empty())
        Fail("the table of %s on the medium lacks text %d", language.c_str(), index);
    return text;
}

// `bytes` decoded in `codePage`, as a program of a system with that code
// page shows them.
std::wstring Decoded(const std::string& bytes, UINT codePage) {
    std::wstring wide(bytes.size() + 1, L'\0');
    int length = MultiByteToWideChar(codePage, 0, bytes.c_str(), (int)bytes.size(), &wide[0],
                                     (int)wide.size());
    wide.resize(length > 0 ? length : 0);
    return wide;
}

// Whether the text read from a window (in the system's code page) is the
// language's `text` as a player of the language reads it.
bool ReadsAs(const std::string& shown, const std::string& text) {
    return Decoded(shown, CP_ACP) == Decoded(text, g_codePage);
}

// `bytes` of code page `codePage` in UTF-8, for the output.
std::string Utf8(const std::string& bytes, UINT codePage) {
    std::wstring wide = Decoded(bytes, codePage);
    std::string utf8(wide.size() * 3 + 1, '\0');
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), (int)wide.size(), &utf8[0],
                                     (int)utf8.size(), nullptr, nullptr);
    utf8.resize(length > 0 ? length : 0);
    for (char& c : utf8)
        if (c == '\n' || c == '\r')
            c = ' ';
    return utf8;
}

int g_failedChecks = 0;

// Says whether `what` read as the language's `text`; a failure is counted
// and the walk goes on, so that every picture is taken.
void Check(bool readsAsExpected, const char* what, const std::string& shown,
           const std::string& text) {
    if (readsAsExpected) {
        Say("%s reads as the language's", what);
        return;
    }
    ++g_failedChecks;
    printf("driver: CHECK FAILED: %s does not read as the language's in code page %u: expected "
           "\"%s\", read \"%s\"\n",
           what, g_codePage, Utf8(text, g_codePage).c_str(), Utf8(shown, CP_ACP).c_str());
    fflush(stdout);
}

// `text` with its line breaks as spaces, for one line of output.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

// Whether `shown` is `text` with each placeholder %1 to %9 filled with a
// number, as setup fills the space question's.
bool FilledWithNumbers(const std::wstring& text, const std::wstring& shown) {
    size_t at = 0; // in `shown`
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            size_t digits = wcsspn(shown.c_str() + at, L"0123456789");
            if (digits == 0)
                return false;
            at += digits;
            ++i;
        } else if (at < shown.size() && shown[at] == text[i]) {
            ++at;
        } else {
            return false;
        }
    }
    return at == shown.size();
}

// A message box setup or its uninstaller shows: the picture's name, what
// it is, and its text and caption in the language's table.
struct Message {
    const char* picture;
    const char* what;
    int text;
    int caption;
};

const Message kCompletion = {"installed", "completion message", TXT_INSTALL_DONE,
                             TXT_INSTALL_DONE_CAPTION};
const Message kRelativeFolder = {"failure", "failure message", TXT_PATH_RELATIVE,
                                 TXT_ERROR_CAPTION};
const Message kSpaceQuestion = {"space", "space question", TXT_NO_ROOM_QUESTION,
                                TXT_NO_ROOM_CAPTION};
const Message kUninstallQuestion = {"uninstall", "uninstaller's question", TXT_UNINSTALL_QUESTION,
                                    TXT_UNINSTALL_CAPTION};
const Message kRunQuestion = {"run-game", "question to run the installed game", TXT_RUN_INSTALLED,
                              TXT_RUN_INSTALLED_CAPTION};

// Checks that `box` reads as `message` in the language's table.
void ExpectMessage(const MessageBoxInfo& box, const Message& message, const std::string& language) {
    std::string caption = MediumText(language, message.caption);
    std::string text = MediumText(language, message.text);
    std::string what = std::string("the ") + message.what;
    Check(ReadsAs(box.caption, caption), (what + "'s caption").c_str(), box.caption, caption);
    Check(FilledWithNumbers(Decoded(text, g_codePage), Decoded(box.text, CP_ACP)), what.c_str(),
          box.text, text);
}

// Checks each text of the language that the setup dialog shows: its title,
// labels and buttons.
void ExpectDialogTexts(HWND dialog, const std::string& language) {
    for (const CatalogueText& text : kTextCatalogue) {
        if (OutsideTheDialog(text.place))
            continue;
        std::string shown =
            text.control == kDialogTitle ? WindowText(dialog) : ControlText(dialog, text.control);
        Check(ReadsAs(shown, MediumText(language, text.index)), text.name, shown,
              MediumText(language, text.index));
    }
}

// The folder picker's line above its tree: the static IDD_TITLE (14146) of
// the system's template.
const int kPickerLineId = 14146;

// Checks the folder picker's caption and its line.
void ExpectPickerTexts(HWND picker, const std::string& language) {
    std::string caption = MediumText(language, TXT_BROWSE_CAPTION);
    std::string line = MediumText(language, TXT_BROWSE_TITLE);
    Check(ReadsAs(WindowText(picker), caption), "the folder picker's caption", WindowText(picker),
          caption);
    Check(ReadsAs(ControlText(picker, kPickerLineId), line), "the folder picker's line",
          ControlText(picker, kPickerLineId), line);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Asks the script for a screenshot named `name` and waits until it has been
// taken: the script removes the request file when the picture is saved.
void Screenshot(const char* name) {
    char file[32];
    snprintf(file, sizeof file, "%d-%s", ++g_shotNumber, name);
    std::string request = g_signalFolder + "\\" + file + ".request";
    std::string partial = request + ".tmp";
    HANDLE handle = CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        Fail("cannot write %s", partial.c_str());
    CloseHandle(handle);
    // Renamed into place, so that the script never sees a half-made request.
    if (!MoveFileA(partial.c_str(), request.c_str()))
        Fail("cannot write %s", request.c_str());

    try {
        WaitUntil([&] { return !FileExists(request); }, std::string("the screenshot ") + file);
    } catch (const std::exception&) {
        Fail("no screenshot taken for %s", file);
    }
    Say("screenshot %s taken", file);
}

// The setup dialog: the dialog box of the process that holds the language
// list. A message box coming first means setup found no medium (or, in a
// prefix that is not fresh, an earlier installation): the walk-through ends.
HWND WaitForSetupDialog(const PROCESS_INFORMATION& process) {
    HWND window = WaitForDialogBoxWhileRunning(process.dwProcessId, process.hProcess, nullptr);
    if (!window) {
        DWORD status = 0;
        GetExitCodeProcess(process.hProcess, &status);
        Fail("setup ended before its dialog opened, status 0x%lX",
             static_cast<unsigned long>(status));
    }
    if (!GetDlgItem(window, IDC_LANGUAGE))
        Fail("setup showed a message instead of its dialog: %s",
             ReadMessageBox(window).text.c_str());
    return window;
}

void ChooseLanguage(HWND dialog, const std::string& language) {
    std::string listed;
    for (const std::string& name : ComboItems(GetDlgItem(dialog, IDC_LANGUAGE)))
        listed += (listed.empty() ? "" : ", ") + name;
    Say("languages on the medium: %s", listed.c_str());
    // setup reloads its texts on the list's change notification.
    ChooseComboItem(dialog, IDC_LANGUAGE, language, true);

    Say("language chosen; the dialog now reads: %s", WindowText(dialog).c_str());
    ExpectDialogTexts(dialog, language);
}

void TypeInstallFolder(HWND dialog, const std::string& folder) {
    SetText(GetDlgItem(dialog, IDC_INSTALL_PATH), folder);
    Say("install folder typed: %s", folder.c_str());
}

// Returns once `window` has painted itself and its children: a picture taken
// then shows it whole.
void WaitUntilDrawn(HWND window) {
    Settle(window);
    // Paints now, by messages sent to the window's thread.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// Opens a window of setup's own through `command` posted to the dialog,
// pictures it, checks its texts with `expect` (when given) and closes it
// with `closeId`.
void ShowAndClose(const PROCESS_INFORMATION& process, HWND dialog, UINT message, WPARAM wParam,
                  LPARAM lParam, const char* what, int closeId,
                  void (*expect)(HWND, const std::string&) = nullptr,
                  const std::string& language = "") {
    PostMessageA(dialog, message, wParam, lParam);
    HWND window = WaitForDialogBoxWhileRunning(process.dwProcessId, process.hProcess, dialog);
    if (!window)
        Fail("setup ended instead of opening the %s", what);
    WaitUntilDrawn(window);
    Say("%s open: \"%s\"", what, WindowText(window).c_str());
    Screenshot(what);
    if (expect)
        expect(window, language);
    PostClick(window, closeId);
    if (!WaitForWindowGone(window, kTimeoutMs))
        Fail("the %s did not close", what);
}

// Waits for the message box that `process` shows next (other than `owner`),
// says what it reads, pictures it, checks that it is `message` in
// `language` and answers it with the button `answerId`.
MessageBoxInfo PictureMessage(const PROCESS_INFORMATION& process, HWND owner,
                              const Message& message, const std::string& language, int answerId) {
    HWND window = WaitForDialogBoxWhileRunning(process.dwProcessId, process.hProcess, owner);
    if (!window)
        Fail("the program ended without the %s", message.what);
    MessageBoxInfo box = ReadMessageBox(window);
    Say("message box \"%s\": %s", box.caption.c_str(), OneLine(box.text).c_str());
    WaitUntilDrawn(window);
    Screenshot(message.picture);
    ExpectMessage(box, message, language);
    PostClick(window, answerId);
    return box;
}

// Presses Install and answers the message that follows, which must be the
// completion message of the chosen language.
void Install(const PROCESS_INFORMATION& process, HWND dialog, const std::string& language) {
    PostClick(dialog, IDOK);
    Say("Install pressed: %s", ControlText(dialog, IDOK).c_str());
    PictureMessage(process, dialog, kCompletion, language, IDOK);
}

// The installation's Setup.exe, started by setup at its end: its window is
// pictured; it closes by itself.
void ShowStartedProgram() {
    HWND window = WaitForWindow(0, nullptr, kStandInClass, kTimeoutMs);
    if (!window)
        Fail("the installation's Setup.exe did not show its window");
    WaitUntilDrawn(window);
    Say("started by setup: %s", WindowText(window).c_str());
    Screenshot("started");
}

// Starts `commandLine` (its program quoted) in `folder`.
PROCESS_INFORMATION Start(const std::string& commandLine, const char* folder) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup,
                        &process))
        Fail("cannot start %s", commandLine.c_str());
    g_setup = process.hProcess;
    Say("started %s", commandLine.c_str());
    return process;
}

// Waits until `process` has ended after its last message; its exit status.
DWORD WaitForEnd(PROCESS_INFORMATION& process, const char* what) {
    if (WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0)
        Fail("%s did not end after its last message", what);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    g_setup = nullptr;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Say("%s ended with status %lu", what, static_cast<unsigned long>(status));
    return status;
}

// Setup started from the medium, its dialog open in `language` with
// `installFolder` typed, and pictured.
HWND OpenSetupDialog(const PROCESS_INFORMATION& process, const std::string& language,
                     const std::string& installFolder) {
    HWND dialog = WaitForSetupDialog(process);
    Say("setup dialog open: %s", WindowText(dialog).c_str());
    ChooseLanguage(dialog, language);
    TypeInstallFolder(dialog, installFolder);
    WaitUntilDrawn(dialog);
    Screenshot("dialog");
    return dialog;
}

void PictureFolderPicker(const PROCESS_INFORMATION& process, HWND dialog,
                         const std::string& installFolder, const std::string& language) {
    HWND browse = GetDlgItem(dialog, IDC_BROWSE);
    ShowAndClose(process, dialog, WM_COMMAND, MAKEWPARAM(IDC_BROWSE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(browse), "browse", IDCANCEL, ExpectPickerTexts, language);
    if (ControlText(dialog, IDC_INSTALL_PATH) != installFolder)
        Fail("cancelling the folder picker changed the install folder");
}

// The walk-through, from setup's start to the installation's Setup.exe.
void WalkThrough(const std::string& language, const std::string& installFolder) {
    PROCESS_INFORMATION process = Start(std::string("\"") + kSetupPath + "\"", kSetupFolder);
    HWND dialog = OpenSetupDialog(process, language, installFolder);
    ShowAndClose(process, dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0, "about", IDOK);
    PictureFolderPicker(process, dialog, installFolder, language);
    Install(process, dialog, language);
    WaitForEnd(process, "setup");
    ShowStartedProgram();
}

// Presses Install with `folder` typed and pictures the message that
// follows, which must be `message` in `language`, answered with `answerId`;
// setup's dialog stays.
void PictureRefusal(const PROCESS_INFORMATION& process, HWND dialog, const std::string& folder,
                    const Message& message, const std::string& language, int answerId) {
    TypeInstallFolder(dialog, folder);
    PostClick(dialog, IDOK);
    HWND box = PictureMessage(process, dialog, message, language, answerId).window;
    if (!WaitForWindowGone(box, kTimeoutMs))
        Fail("the %s did not close", message.what);
    Settle(dialog);
}

// The command line that Apps & features' entry of the game runs to remove
// it: the entry whose DisplayName is the game's, wherever setup put the
// uninstaller.
std::string UninstallCommand() {
    const char kEntries[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    HKEY entries = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kEntries, 0, KEY_READ, &entries) != ERROR_SUCCESS)
        Fail("no Apps & features entries (HKLM\\%s)", kEntries);
    std::string command;
    char name[256];
    for (DWORD i = 0; command.empty(); ++i) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(entries, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        char value[1024];
        DWORD size = sizeof value - 1;
        DWORD type = 0;
        LONG read = RegGetValueA(entries, name, "DisplayName", RRF_RT_REG_SZ, &type, value, &size);
        size = sizeof value - 1;
        if (read == ERROR_SUCCESS && strcmp(value, "The Vellmor") == 0 &&
            RegGetValueA(entries, name, "UninstallString", RRF_RT_REG_SZ, &type, value, &size) ==
                ERROR_SUCCESS)
            command = value;
    }
    RegCloseKey(entries);
    if (command.empty())
        Fail("no Apps & features entry of The Vellmor names an uninstaller");
    return command;
}

// Runs the installation's uninstaller as Apps & features would, pictures
// its question, which must be in `language`, and answers No: the
// installation stays.
void PictureUninstallQuestion(const std::string& language) {
    PROCESS_INFORMATION process = Start(UninstallCommand(), nullptr);
    PictureMessage(process, nullptr, kUninstallQuestion, language, IDNO);
    WaitForEnd(process, "the uninstaller");
}

// Starts setup from the medium again, which now finds the game installed:
// pictures its question, which must be in `language` (the installation's),
// answers No and closes the dialog that follows with Exit.
void PictureRunQuestion(const std::string& language) {
    PROCESS_INFORMATION process = Start(std::string("\"") + kSetupPath + "\"", kSetupFolder);
    HWND box = PictureMessage(process, nullptr, kRunQuestion, language, IDNO).window;
    if (!WaitForWindowGone(box, kTimeoutMs))
        Fail("the %s did not close", kRunQuestion.what);
    PostClick(WaitForSetupDialog(process), IDCANCEL);
    WaitForEnd(process, "setup");
}

// Every kind of window a language's texts appear in, pictured in turn.
void Preview(const std::string& language, const std::string& installFolder,
             const std::string& smallFolder) {
    PROCESS_INFORMATION process = Start(std::string("\"") + kSetupPath + "\"", kSetupFolder);
    HWND dialog = OpenSetupDialog(process, language, installFolder);
    PictureFolderPicker(process, dialog, installFolder, language);
    PictureRefusal(process, dialog, "Games", kRelativeFolder, language, IDOK);
    if (smallFolder != "-")
        PictureRefusal(process, dialog, smallFolder, kSpaceQuestion, language, IDNO);
    else
        Say("no drive without space: the space question is not pictured");
    TypeInstallFolder(dialog, installFolder);
    Install(process, dialog, language);
    WaitForEnd(process, "setup");
    // The installation's Setup.exe, which setup starts, closes by itself.
    HWND started = WaitForWindow(0, nullptr, kStandInClass, kTimeoutMs);
    if (started && !WaitForWindowGone(started, kTimeoutMs))
        Fail("the installation's Setup.exe did not close");
    PictureRunQuestion(language);
    PictureUninstallQuestion(language);
}

} // namespace

int main(int argc, char** argv) {
    bool preview = argc == 7 && strcmp(argv[4], "--preview") == 0;
    if (preview)
        g_codePage = strtoul(argv[6], nullptr, 10);
    if ((argc != 4 && !preview) || (preview && g_codePage == 0)) {
        fprintf(stderr, "usage: DemoDriver.exe SIGNAL_FOLDER LANGUAGE INSTALL_FOLDER "
                        "[--preview SMALL_FOLDER CODEPAGE]\n");
        return 2;
    }
    g_signalFolder = argv[1];
    std::string language = argv[2];
    std::string installFolder = argv[3];

    try {
        if (preview)
            Preview(language, installFolder, argv[5]);
        else
            WalkThrough(language, installFolder);
    } catch (const std::exception& error) {
        // A window that stopped answering, or a wait that ran out.
        Fail("%s", error.what());
    }
    if (g_failedChecks > 0) {
        Say("%d checks failed (above)", g_failedChecks);
        return 1;
    }
    Say("done");
    return 0;
}
