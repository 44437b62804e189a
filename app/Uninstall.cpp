#include "app/Uninstall.h"

#include <windows.h>

#include <string.h>

#include "install/ExitCodes.h"
#include "install/InstalledGame.h"
#include "install/LogReport.h"
#include "install/Names.h"
#include "install/Shortcut.h"
#include "uninstall/Removal.h"
#include "platform/Application.h"

namespace {

const char kCaption[] = "Uninstall The Vellmor";
const char kQuestion[] = "Do you want to remove The Vellmor and its Start Menu shortcuts?\n\n"
                         "Saved games and other files that setup did not install are kept.";
const char kRemoved[] = "The Vellmor has been removed.";
const char kKept[] = "\n\nFiles that setup did not install are still in %s.";
const char kStayed[] = "\n\nThese could not be removed:";
// The closing message names at most this many of them.
const size_t kMostNamed = 8;

struct Outcome {
    char text[2048];
    size_t stayed;
    LogReport* log;
};

void Append(Outcome& outcome, const char* format, const char* value) {
    size_t length = strlen(outcome.text);
    FormatText(outcome.text + length, sizeof outcome.text - length, format, value);
}

void Stayed(const char* path, void* context) {
    Outcome& outcome = *static_cast<Outcome*>(context);
    outcome.log->Line("not removed: %s", path);
    if (outcome.stayed == 0)
        Append(outcome, "%s", kStayed);
    if (outcome.stayed < kMostNamed)
        Append(outcome, "\n%s", path);
    else if (outcome.stayed == kMostNamed)
        Append(outcome, "%s", "\n...");
    ++outcome.stayed;
}

int Tell(const SetupOptions& options, const char* text, UINT style) {
    return options.silent ? IDYES : ::MessageBoxA(nullptr, text, kCaption, style);
}

// The folder this program sits in: the uninstaller's own, which holds the
// record.
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

// The Start Menu folder that setup would make now; false when there is none.
bool MenuFolder(PathBuffer& folder) {
    char programs[MAX_PATH] = "";
    return ProgramsFolderFor(nullptr, programs) && programs[0] &&
           FormatPath(folder, "%s\\%s", programs, kProductFolder);
}

// The uninstaller's folder goes once the removal is done: its record and
// texts at once, the running program and the folder itself when Windows
// next starts, since a running program's file cannot be deleted.
void RemoveOwnFiles(const char* self, const char* home) {
    const char* const names[] = {kUninstallRecord, "language.poo", "language.sif"};
    for (const char* name : names) {
        PathBuffer path;
        if (FormatPath(path, "%s\\%s", home, name))
            DeleteFileA(path);
    }
    DeleteAtRestart(self);
    DeleteAtRestart(home);
}

} // namespace

int RunUninstall(const SetupOptions& options) {
    PathBuffer self, home, menu;
    if (!OwnFolder(self, home))
        return kExitRecordRefused;
    Removal removal;
    Outcome outcome = {"", 0, nullptr};
    bool read =
        removal.Read(home, MenuFolder(menu) ? menu : nullptr, outcome.text, sizeof outcome.text);
    // The log never goes over the record, the uninstaller or the game.
    LogReport log;
    outcome.log = &log;
    if (options.log[0] && !log.Open(options.log, read ? removal.InstallDir() : nullptr, home))
        return kExitUsage;
    if (!read) {
        log.Line("record: failed: %s", outcome.text);
        Tell(options, outcome.text, MB_OK | MB_ICONHAND);
        return kExitRecordRefused;
    }
    if (Tell(options, kQuestion, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return kExitDeclined;
    FormatText(outcome.text, sizeof outcome.text, "%s", kRemoved);
    removal.Remove(Stayed, &outcome);
    bool forgotten = ForgetInstallation(removal.InstallDir());
    log.Line("registry: %s", forgotten ? "ok" : "failed");
    if (removal.FilesLeft()) {
        Append(outcome, kKept, removal.InstallDir());
        log.Line("kept: %s", removal.InstallDir());
    }
    RemoveOwnFiles(self, home);
    Tell(options, outcome.text, outcome.stayed ? MB_OK | MB_ICONEXCLAMATION : MB_OK);
    int result = outcome.stayed || !forgotten ? kExitIncomplete : kExitInstalled;
    log.Line("result: %d", result);
    return result;
}
