#include "uninstall/Uninstall.h"

#include <windows.h>

#include <string.h>

#include "common/Elevation.h"
#include "common/ExitCodes.h"
#include "common/HeldTree.h"
#include "common/InUseQuestion.h"
#include "common/Names.h"
#include "common/ProgramLanguage.h"
#include "common/RunLog.h"
#include "common/Shortcut.h"
#include "platform/Application.h"
#include "platform/Layout.h"
#include "platform/ThisProgram.h"
#include "record/InstalledGame.h"
#include "record/UninstallerHome.h"
#include "text/LocalText.h"
#include "uninstall/Removal.h"

namespace {

// The closing message names at most this many of them.
const size_t kMostNamed = 8;

struct Outcome {
    char text[2048];
    size_t stayed;
    RunLog* log; // of the files that stayed
    const char* stayedHeading;
};

void Append(Outcome& outcome, const char* format, const char* value) {
    size_t length = strlen(outcome.text);
    FormatText(outcome.text + length, sizeof outcome.text - length, format, value);
}

void Stayed(const char* path, void* context) {
    Outcome& outcome = *static_cast<Outcome*>(context);
    outcome.log->Line("not removed: %s", (const char*)CLogValue(path));
    if (outcome.stayed == 0)
        Append(outcome, "\n\n%s", outcome.stayedHeading);
    if (outcome.stayed < kMostNamed)
        Append(outcome, "\n%s", path);
    else if (outcome.stayed == kMostNamed)
        Append(outcome, "%s", "\n...");
    ++outcome.stayed;
}

int Tell(const SetupOptions& options, LanguageTexts& texts, const char* text, UINT style) {
    return options.silent
               ? IDYES
               : ::MessageBoxA(nullptr, text, LocalText(texts, kText<TXT_UNINSTALL_CAPTION>),
                               ReadingStyle(style, texts.RightToLeft()));
}

// The Start Menu folder that setup would make now; false when there is none.
bool MenuFolder(PathBuffer& folder) {
    char programs[MAX_PATH] = "";
    return ProgramsFolderFor(nullptr, programs) && programs[0] &&
           FormatMenuFolder(folder, programs);
}

// The uninstaller's folder goes once the removal is done: its record at
// once, so that no later installation takes the folder for its own; its
// program, which is running, its texts, which the player's part of the
// uninstaller may still read (and the game's table that earlier versions
// kept there), and the folder itself when Windows next starts.
void RemoveOwnFiles(const char* self, const char* home) {
    PathBuffer path;
    if (FormatRecordPath(path, home))
        DeleteFileA(path);
    DeleteAtRestart(self);
    const char* const names[] = {kSetupTexts, kInstalledLanguage};
    const char* const extensions[] = {kPoolExtension, kIndexExtension};
    for (const char* name : names) {
        for (const char* extension : extensions) {
            if (FormatPath(path, "%s\\%s%s", home, name, extension))
                DeleteAtRestart(path);
        }
    }
    DeleteAtRestart(home);
}

// The folder that still holds what stayed, in the message and the log. Its
// own frame: with the message's, one would near a page, which setup's
// unprobed stack does not allow.
__attribute__((noinline)) void AppendKept(Outcome& outcome, LanguageTexts& texts,
                                          const char* installDir) {
    Append(outcome, "\n\n%s", LocalText(texts, kText<TXT_UNINSTALL_KEPT>, installDir));
    outcome.log->Line("kept: %s", (const char*)CLogValue(installDir));
}

// A text of the table with its insert, told as Tell does. Its own frame,
// as the message's buffer would make the caller's near a page.
__attribute__((noinline)) int TellText(const SetupOptions& options, LanguageTexts& texts,
                                       TextRef text, UINT style, const char* insert = nullptr) {
    return Tell(options, texts, LocalText(texts, text, insert), style);
}

// What the removal left, in one message and the log: the files that stayed
// and the folder that still holds them, so the player knows their saves are
// there. Whether a recorded file stayed.
bool TellOutcome(const SetupOptions& options, LanguageTexts& texts, const Removal& removal,
                 RunLog& log) {
    LocalText stayed(texts, kText<TXT_UNINSTALL_STAYED>);
    Outcome outcome = {"", 0, &log, stayed};
    LookUpText(texts, kText<TXT_UNINSTALL_DONE>, outcome.text, sizeof outcome.text, nullptr, 0);
    removal.ForEachStayed(Stayed, &outcome);
    if (removal.FilesLeft())
        AppendKept(outcome, texts, removal.InstallDir());
    Tell(options, texts, outcome.text, outcome.stayed ? MB_OK | MB_ICONEXCLAMATION : MB_OK);
    return outcome.stayed != 0;
}

// A folder on the way to the game's is a link or cannot be held (`way`),
// named `named`: nothing was removed.
void TellWay(const SetupOptions& options, LanguageTexts& texts, WayVerdict way, const char* named,
             RunLog& log) {
    const InstallMessage& refusal = way == WayVerdict::NotHeld ? kFolderNotHeld : kLinkRefused;
    log.RefuseLink(refusal, named);
    Tell(options, texts, LocalText(texts, refusal.text, named), MB_OK | refusal.style);
}

// While a program holds the game's files the log says so, and the player
// may close it and look again; a quiet run ends.
struct InUseQuestion {
    const SetupOptions& options;
    LanguageTexts& texts;
    RunLog& log;
    const char* folder;
};

bool AskAgainWhileInUse(void* context, const InUseList& found) {
    InUseQuestion& question = *static_cast<InUseQuestion*>(context);
    question.log.FilesInUse(question.folder, found);
    return !question.options.silent &&
           AskRetryWhileInUse(nullptr, question.texts, question.folder, found);
}

} // namespace

int RunUninstall(const SetupOptions& options) {
    PathBuffer self, home, menu;
    // The folder this program sits in is the uninstaller's own, which holds
    // the record: one it cannot name is no uninstaller's folder.
    if (!ThisProgramFolder(self, home))
        return kExitNotFromHome;
    // The installation's language for the user, from the pair beside this
    // program (which stays until the next restart), English for a quiet
    // run's log.
    LanguageTexts texts;
    if (!options.silent)
        LoadProgramLanguage(texts);
    // Only there can no standard user have put the record or the program: a
    // copy elsewhere (a download folder, a backup) trusts neither, nor does
    // one started through a link to its folder.
    if (!IsUninstallerAtHome(self, home)) {
        PathBuffer uninstallers = "";
        UninstallersFolder(uninstallers);
        TellText(options, texts, kText<TXT_UNINSTALLER_NOT_HOME>, MB_OK | MB_ICONHAND,
                 uninstallers);
        return kExitNotFromHome;
    }
    Removal removal;
    char why[512];
    bool read = removal.Read(home, MenuFolder(menu) ? menu : nullptr, texts, why, sizeof why);
    // Without administrator rights the question is the player's and the
    // removal an elevated part's, whose log is copied into the player's.
    bool elevate = !options.elevated && NeedsElevation();
    // The log never goes over the record, the uninstaller or the game.
    RunLog log;
    if (!OpenPartLog(options, read ? removal.InstallDir() : nullptr, log))
        return kExitUsage;
    if (!read) {
        log.Line("record: failed: %s", why);
        Tell(options, texts, why, MB_OK | MB_ICONHAND);
        return kExitRecordRefused;
    }
    if (TellText(options, texts, kText<TXT_UNINSTALL_QUESTION>,
                 MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return kExitDeclined;
    // Before anything is removed the game must not be running: the player
    // is asked here, and the process that removes (this one, or the
    // elevated half, which is quiet) looks and logs.
    InUseQuestion question = {options, texts, log, removal.InstallDir()};
    if ((!elevate || !options.silent) &&
        !NoProgramHolds(removal.InstallDir(), AskAgainWhileInUse, &question))
        return kExitFilesInUse;
    int result = kExitInstalled;
    if (elevate) {
        // The elevated part removes and writes the log; what stayed is told
        // here, from what is still there.
        SetupOptions elevated = options;
        elevated.silent = true;
        DWORD refused = 0;
        result = RunElevatedPartInto(elevated, log, &refused);
        if (refused)
            TellText(options, texts, kText<TXT_ELEVATION_FAILED>, MB_OK | MB_ICONHAND,
                     ErrorNumber(refused));
        if (result == kExitInstalled || result == kExitIncomplete)
            TellOutcome(options, texts, removal, log);
        PathBuffer named;
        WayVerdict way = WayVerdict::Held;
        if (result == kExitLinkRefused &&
            (way = CheckWay(removal.InstallDir(), named)) != WayVerdict::Held)
            TellWay(options, texts, way, named, log);
        return result;
    }
    PathBuffer named;
    WayVerdict way = removal.Remove(named);
    if (way != WayVerdict::Held) {
        TellWay(options, texts, way, named, log);
        return kExitLinkRefused;
    }
    bool forgotten = ForgetInstallation(removal.InstallDir());
    log.Line("registry: %s", forgotten ? "ok" : "failed");
    RemoveOwnFiles(self, home);
    if (TellOutcome(options, texts, removal, log) || !forgotten)
        result = kExitIncomplete;
    log.Line("result: %d", result);
    return result;
}
