// Walks the setup dialog through one installation without a person, for the
// unattended demo: starts D:\Setup.exe in D:\, picks a language, types an
// install folder, opens the About box and the folder picker, presses Install
// and answers the completion message. At every moment worth a picture it
// asks the demo script for a screenshot through a file in a folder the two
// share, and waits until the script has taken it.
//
// usage: DemoDriver.exe SIGNAL_FOLDER LANGUAGE INSTALL_FOLDER
//
// Exit status 0 when the installation went through, 1 when a step failed
// (the reason is printed), 2 on bad arguments. Every wait is bounded.

#include <windows.h>

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "text/LanguageTable.h"
#include "text/TextCatalogue.h"

namespace {

const char kSetupPath[] = "D:\\Setup.exe";
const char kSetupFolder[] = "D:\\";
const char kStandInClass[] = "VellmorDemoStandIn";
const DWORD kWindowTimeoutMs = 30000;
const DWORD kInstallTimeoutMs = 90000;
const DWORD kShotTimeoutMs = 30000;

std::string g_signalFolder;
int g_shotNumber = 0;

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

std::string WindowText(HWND window) {
    char text[1024];
    // GetWindowText reads another process's caption without a message, but
    // not its controls' texts: those need WM_GETTEXT.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 5000, &length))
        return std::string();
    text[sizeof text - 1] = '\0';
    return text;
}

std::string ClassOf(HWND window) {
    char name[64];
    if (!GetClassNameA(window, name, sizeof name))
        return std::string();
    return name;
}

// The language's text `index` from the medium, as setup reads it.
std::string MediumText(const std::string& language, int index) {
    CLanguageTable table;
    std::string base = std::string(kSetupFolder) + "Languages\\" + language;
    table.Load(base.c_str());
    char* block = table.GetString(index);
    if (!block)
        return std::string();
    std::string text = block;
    free(block);
    return text;
}

struct WindowSearch {
    DWORD pid;
    const char* className;
    HWND exclude;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (window == search->exclude || !IsWindowVisible(window))
        return TRUE;
    if (search->pid && pid != search->pid)
        return TRUE;
    if (ClassOf(window) != search->className)
        return TRUE;
    search->found = window;
    return FALSE;
}

// A visible top-level window of class `className` (of process `pid`, when
// not 0) other than `exclude`, or null after `timeoutMs`.
HWND WaitForWindow(DWORD pid, const char* className, HWND exclude, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    do {
        WindowSearch search = {pid, className, exclude, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(100);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(100);
    }
    return true;
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

    DWORD start = GetTickCount();
    while (FileExists(request)) {
        if (GetTickCount() - start >= kShotTimeoutMs)
            Fail("no screenshot taken for %s", file);
        Sleep(100);
    }
    Say("screenshot %s taken", file);
}

// The setup dialog: the dialog box of the process that holds the language
// list. A message box coming first means setup found no medium (or, in a
// prefix that is not fresh, an earlier installation): the walk-through ends.
HWND WaitForSetupDialog(const PROCESS_INFORMATION& process) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < kWindowTimeoutMs) {
        HWND window = WaitForWindow(process.dwProcessId, "#32770", nullptr, 500);
        if (window && GetDlgItem(window, IDC_LANGUAGE))
            return window;
        if (window)
            Fail("setup showed a message instead of its dialog: %s",
                 WindowText(GetDlgItem(window, 0xFFFF)).c_str());
        DWORD status = 0;
        if (GetExitCodeProcess(process.hProcess, &status) && status != STILL_ACTIVE)
            Fail("setup ended before its dialog opened, status 0x%lX",
                 static_cast<unsigned long>(status));
    }
    Fail("the setup dialog did not open within %lu s",
         static_cast<unsigned long>(kWindowTimeoutMs / 1000));
}

// The entries of the language list, in the ANSI code page as setup added
// them. Asked for in UTF-16: Wine hands a list entry to another process's
// SendMessageTimeoutA without converting it back.
std::vector<std::string> LanguageList(HWND combo) {
    std::vector<std::string> names;
    DWORD_PTR count = 0;
    SendMessageTimeoutW(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
    for (DWORD_PTR i = 0; i < count; ++i) {
        wchar_t wide[MAX_PATH] = L"";
        char name[MAX_PATH] = "";
        DWORD_PTR length = 0;
        if (SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 5000, &length) &&
            length < MAX_PATH &&
            SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide),
                                SMTO_ABORTIFHUNG, 5000, &length))
            WideCharToMultiByte(CP_ACP, 0, wide, -1, name, sizeof name, nullptr, nullptr);
        names.push_back(name);
    }
    return names;
}

void ChooseLanguage(HWND dialog, const std::string& language) {
    HWND combo = GetDlgItem(dialog, IDC_LANGUAGE);
    std::vector<std::string> names = LanguageList(combo);
    std::string listed;
    int wanted = -1;
    for (size_t i = 0; i < names.size(); ++i) {
        listed += (i ? ", " : "") + names[i];
        if (names[i] == language)
            wanted = static_cast<int>(i);
    }
    Say("languages on the medium: %s", listed.c_str());
    if (wanted < 0)
        Fail("the language list has no %s", language.c_str());

    // The selection is set, then announced as a person's choice would be:
    // setup reloads its texts on CBN_SELCHANGE. Neither opens a window.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(combo, CB_SETCURSEL, static_cast<WPARAM>(wanted), 0, SMTO_ABORTIFHUNG, 5000,
                        &result);
    SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(combo), SMTO_ABORTIFHUNG, 10000, &result);

    std::string expected = MediumText(language, TXT_DIALOG_TITLE);
    std::string title = WindowText(dialog);
    if (expected.empty() || title != expected)
        Fail("the dialog's title did not change to the language's: %s", title.c_str());
    Say("language chosen; the dialog now reads: %s", title.c_str());
}

void TypeInstallFolder(HWND dialog, const std::string& folder) {
    HWND edit = GetDlgItem(dialog, IDC_INSTALL_PATH);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()),
                        SMTO_ABORTIFHUNG, 5000, &result);
    if (WindowText(edit) != folder)
        Fail("the install folder could not be typed: %s", WindowText(edit).c_str());
    Say("install folder typed: %s", folder.c_str());
}

// Opens a window of setup's own through `command` posted to the dialog,
// pictures it and closes it with `closeId`.
void ShowAndClose(DWORD pid, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                  const char* what, WORD closeId, DWORD settleMs) {
    PostMessageA(dialog, message, wParam, lParam);
    HWND window = WaitForWindow(pid, "#32770", dialog, kWindowTimeoutMs);
    if (!window)
        Fail("the %s did not open", what);
    Sleep(settleMs); // let it draw (the folder tree fills in after opening)
    Say("%s open: \"%s\"", what, WindowText(window).c_str());
    Screenshot(what);
    PostMessageA(window, WM_COMMAND, closeId, 0);
    if (!WaitForWindowGone(window, kWindowTimeoutMs))
        Fail("the %s did not close", what);
}

// Presses Install and answers the message that follows, which must be the
// completion message of the chosen language.
void Install(DWORD pid, HWND dialog, const std::string& language) {
    HWND install = GetDlgItem(dialog, IDOK);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(install));
    Say("Install pressed: %s", WindowText(install).c_str());

    HWND box = WaitForWindow(pid, "#32770", dialog, kInstallTimeoutMs);
    if (!box)
        Fail("no message came after Install within %lu s",
             static_cast<unsigned long>(kInstallTimeoutMs / 1000));
    std::string caption = WindowText(box);
    std::string message = WindowText(GetDlgItem(box, 0xFFFF));
    std::string oneLine = message;
    for (char& c : oneLine)
        if (c == '\n' || c == '\r')
            c = ' ';
    Say("message box \"%s\": %s", caption.c_str(), oneLine.c_str());
    Screenshot("installed");
    PostMessageA(box, WM_COMMAND, IDOK, 0);

    if (caption != MediumText(language, TXT_INSTALL_DONE_CAPTION) ||
        message != MediumText(language, TXT_INSTALL_DONE))
        Fail("that is not the completion message of %s", language.c_str());
}

// The installation's Setup.exe, started by setup at its end: its window is
// pictured; it closes by itself.
void ShowStartedProgram() {
    HWND window = WaitForWindow(0, kStandInClass, nullptr, kWindowTimeoutMs);
    if (!window)
        Fail("the installation's Setup.exe did not show its window");
    Sleep(500);
    Say("started by setup: %s", WindowText(window).c_str());
    Screenshot("started");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: DemoDriver.exe SIGNAL_FOLDER LANGUAGE INSTALL_FOLDER\n");
        return 2;
    }
    g_signalFolder = argv[1];
    std::string language = argv[2];
    std::string installFolder = argv[3];

    char commandLine[MAX_PATH + 2];
    snprintf(commandLine, sizeof commandLine, "\"%s\"", kSetupPath);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(kSetupPath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, kSetupFolder,
                        &startup, &process))
        Fail("cannot start %s", kSetupPath);
    g_setup = process.hProcess;
    Say("started %s in D:\\", kSetupPath);

    HWND dialog = WaitForSetupDialog(process);
    Say("setup dialog open: %s", WindowText(dialog).c_str());
    ChooseLanguage(dialog, language);
    TypeInstallFolder(dialog, installFolder);
    Screenshot("dialog");

    ShowAndClose(process.dwProcessId, dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0, "about", IDOK, 500);
    HWND browse = GetDlgItem(dialog, IDC_BROWSE);
    ShowAndClose(process.dwProcessId, dialog, WM_COMMAND, MAKEWPARAM(IDC_BROWSE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(browse), "browse", IDCANCEL, 1500);
    if (WindowText(GetDlgItem(dialog, IDC_INSTALL_PATH)) != installFolder)
        Fail("cancelling the folder picker changed the install folder");

    Install(process.dwProcessId, dialog, language);
    if (WaitForSingleObject(process.hProcess, kWindowTimeoutMs) != WAIT_OBJECT_0)
        Fail("setup did not end after the completion message");
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    g_setup = nullptr;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Say("setup ended with status %lu", static_cast<unsigned long>(status));

    ShowStartedProgram();
    Say("done");
    return 0;
}
