#include "app/Uninstall.h"

#include <windows.h>

#include <string.h>

#include "app/ProgramLanguage.h"
#include "install/ExitCodes.h"
#include "install/InstalledGame.h"
#include "install/LogReport.h"
#include "install/Names.h"
#include "install/Uninstaller.h"
#include "platform/Application.h"
#include "text/LocalText.h"

namespace {

// The closing message names at most this many of them.
const size_t kMostNamed = 8;

// How long the finishing copy waits for the uninstaller it finishes for.
const DWORD kFinishWaitMs = 60000;

struct Outcome {
    char text[2048];
    size_t stayed;
    LogReport* log;
    const char* stayedHeading;
};

void Append(Outcome& outcome, const char* format, const char* value) {
    size_t length = strlen(outcome.text);
    FormatText(outcome.text + length, sizeof outcome.text - length, format, value);
}

void Stayed(const char* path, void* context) {
    Outcome& outcome = *static_cast<Outcome*>(context);
    outcome.log->Line("not removed: %s", path);
    if (outcome.stayed == 0)
        Append(outcome, "\n\n%s", outcome.stayedHeading);
    if (outcome.stayed < kMostNamed)
        Append(outcome, "\n%s", path);
    else if (outcome.stayed == kMostNamed)
        Append(outcome, "%s", "\n...");
    ++outcome.stayed;
}

int Tell(const SetupOptions& options, CLanguageTable& texts, const char* text, UINT style) {
    return options.silent ? IDYES
                          : ::MessageBoxA(nullptr, text,
                                          LocalText(texts, kText<TXT_UNINSTALL_CAPTION>), style);
}

// The folder this program sits in.
bool OwnFolder(PathBuffer& self, PathBuffer& folder) {
    DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    if (length == 0 || length >= sizeof self)
        return false;
    FormatPath(folder, "%s", self);
    char* slash = strrchr(folder, '\\');
    if (!slash)
        return false;
    *slash = '\0';
    return true;
}

// A copy of this program in the temporary folder waits until `self` has
// ended, removes it and its folder when that is left empty, and is itself
// deleted at the next restart: a running program's file cannot be removed.
void FinishFromTemporaryCopy(const char* self, const char* installDir) {
    PathBuffer folder, copy;
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder || !GetTempFileNameA(folder, "vlu", 0, copy) ||
        !CopyFileA(self, copy, FALSE))
        return;
    char command[3 * MAX_PATH];
    FormatText(command, sizeof command, "\"%s\" /UNINSTALL /S \"/DIR=%s\" /FINISH=%lu", copy,
               installDir, (unsigned long)GetCurrentProcessId());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started;
    if (CreateProcessA(copy, command, nullptr, nullptr, FALSE, 0, nullptr, folder, &startup,
                       &started)) {
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    } else {
        DeleteFileA(copy);
    }
}

int Finish(const SetupOptions& options) {
    HANDLE uninstaller = OpenProcess(SYNCHRONIZE, FALSE, options.finishPid);
    if (uninstaller) {
        WaitForSingleObject(uninstaller, kFinishWaitMs);
        CloseHandle(uninstaller);
    }
    PathBuffer program, self;
    if (FormatPath(program, "%s\\%s", options.folder, kUninstallExe)) {
        SetFileAttributesA(program, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(program);
    }
    RemoveDirectoryA(options.folder);
    DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    if (length > 0 && length < sizeof self)
        DeleteAtRestart(self);
    return kExitInstalled;
}

} // namespace

int RunUninstall(const SetupOptions& options) {
    if (options.finishPid)
        return Finish(options);
    LogReport log;
    if (options.log[0] && !log.Open(options.log))
        return kExitUsage;
    PathBuffer self, installDir;
    if (!OwnFolder(self, installDir))
        return kExitRecordRefused;
    // The installation's language for the user, English for a quiet run's
    // log; the closing texts are read before the removal, which may take the
    // language's files.
    CLanguageTable texts;
    if (!options.silent)
        LoadProgramLanguage(texts);
    LocalText removed(texts, kText<TXT_UNINSTALL_DONE>);
    LocalText kept(texts, kText<TXT_UNINSTALL_KEPT>, installDir);
    LocalText stayed(texts, kText<TXT_UNINSTALL_STAYED>);
    Removal removal;
    Outcome outcome = {"", 0, &log, stayed};
    if (!removal.Read(installDir, texts, outcome.text, sizeof outcome.text)) {
        log.Line("record: failed: %s", outcome.text);
        Tell(options, texts, outcome.text, MB_OK | MB_ICONHAND);
        return kExitRecordRefused;
    }
    if (Tell(options, texts, LocalText(texts, kText<TXT_UNINSTALL_QUESTION>),
             MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return kExitDeclined;
    FormatText(outcome.text, sizeof outcome.text, "%s", (const char*)removed);
    removal.Remove(self, Stayed, &outcome);
    bool forgotten = ForgetInstallation();
    log.Line("registry: %s", forgotten ? "ok" : "failed");
    if (removal.FilesLeft(self)) {
        Append(outcome, "\n\n%s", kept);
        log.Line("kept: %s", installDir);
    }
    Tell(options, texts, outcome.text, outcome.stayed ? MB_OK | MB_ICONEXCLAMATION : MB_OK);
    // Last, so that it finds this program about to end, however long the
    // closing message stayed up.
    FinishFromTemporaryCopy(self, installDir);
    int result = outcome.stayed || !forgotten ? kExitIncomplete : kExitInstalled;
    log.Line("result: %d", result);
    return result;
}
