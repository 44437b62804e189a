#include "app/Unattended.h"

#include "app/ProgramLanguage.h"
#include "install/Elevation.h"
#include "install/InstalledGame.h"
#include "install/LogReport.h"
#include "install/Names.h"
#include "install/SourceMedium.h"
#include "ui/InstallCommand.h"
#include "uninstall/UninstallerHome.h"

namespace {

// The folder and the language the dialog would have offered, unless the
// command line names them; a language the medium lacks is refused.
bool ChooseLanguage(const SetupOptions& options, const char* sourceRoot, LogReport& log,
                    PathBuffer& language) {
    if (!options.language[0]) {
        DefaultLanguage(sourceRoot, language);
        return true;
    }
    if (!MediumOffersLanguage(sourceRoot, options.language)) {
        log.Line("language: failed: the disc has no language \"%s\"", options.language);
        return false;
    }
    FormatPath(language, "%s", options.language);
    return true;
}

// Starts the log, which goes neither into the game's folder nor among the
// uninstallers.
bool OpenLog(const char* path, const char* folder, LogReport& log) {
    PathBuffer installDir, uninstallers;
    bool derived = InstallFolderFor(folder, installDir);
    bool haveUninstallers = UninstallersFolder(uninstallers);
    return log.Open(path, derived ? installDir : nullptr,
                    haveUninstallers ? uninstallers : nullptr);
}

} // namespace

int RunElevatedPart(const SetupOptions& options) {
    PathBuffer fullLog = "";
    char arguments[4 * MAX_PATH];
    char* name = nullptr;
    // The elevated part may start in another folder: the log's path is
    // handed over whole.
    DWORD length =
        options.log[0] ? GetFullPathNameA(options.log, sizeof fullLog, fullLog, &name) : 1;
    if (length == 0 || length >= sizeof fullLog)
        return kExitUsage;
    if (!FormatElevatedCommandLine(arguments, sizeof arguments, options, fullLog))
        return kExitUsage;
    return RunElevated(arguments, nullptr);
}

int RunOwnedInstall(const SetupOptions& options) {
    CWnd owner;
    owner.Attach(reinterpret_cast<HWND>((UINT_PTR)options.owner));
    if (!IsWindow(owner))
        return kExitUsage;
    // The dialog's language, from the medium, which must offer it.
    LanguageTexts texts;
    char sourceRoot[MAX_PATH];
    if (FindMediumRoot(sourceRoot)) {
        if (!MediumOffersLanguage(sourceRoot, options.language))
            return kExitUsage;
        LoadMediumLanguage(texts, sourceRoot, options.language);
    }
    PathBuffer installDir;
    return InstallWithMessages(owner, texts, options.folder, options.language,
                               GlideDriverInstalled(), installDir);
}

int RunUnattended(const SetupOptions& options) {
    if (!options.elevated && NeedsElevation())
        return RunElevatedPart(options);
    PathBuffer folder, language;
    if (options.folder[0])
        FormatPath(folder, "%s", options.folder);
    else
        OfferedInstallRoot(folder);
    LogReport log;
    if (options.log[0] && !OpenLog(options.log, folder, log))
        return kExitUsage;
    char sourceRoot[MAX_PATH];
    if (!FindMediumRoot(sourceRoot)) {
        log.Line("medium: failed: %s", kNoMedium.text.english);
        return kExitNoMedium;
    }
    log.Line("medium: ok: %s", sourceRoot);
    if (!ChooseLanguage(options, sourceRoot, log, language))
        return kExitUsage;
    log.Line("folder: %s; language: %s", folder, language);
    InstallRequest request = {folder, language, GlideDriverInstalled(), nullptr, nullptr};
    PathBuffer installDir;
    SetupExit result = RunInstallation(request, sourceRoot, log, installDir);
    log.Line("result: %d", (int)result);
    return result;
}
