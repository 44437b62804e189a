#include "app/Unattended.h"

#include "install/InstalledGame.h"
#include "install/LogReport.h"
#include "install/SourceMedium.h"
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
    InstallPaths paths;
    PathBuffer uninstallers;
    bool derived = DeriveInstallRoot(folder, paths.installRoot) == RootRule::Derived &&
                   BuildInstalledPaths(paths);
    bool haveUninstallers = UninstallersFolder(uninstallers);
    return log.Open(path, derived ? paths.installDir : nullptr,
                    haveUninstallers ? uninstallers : nullptr);
}

} // namespace

int RunUnattended(const SetupOptions& options) {
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
        log.Line("medium: failed: %s", kNoMedium.text);
        return kExitNoMedium;
    }
    log.Line("medium: ok: %s", sourceRoot);
    if (!ChooseLanguage(options, sourceRoot, log, language))
        return kExitUsage;
    log.Line("folder: %s; language: %s", folder, language);
    InstallRequest request = {folder, language, GlideDriverInstalled(), nullptr};
    PathBuffer installDir;
    SetupExit result = RunInstallation(request, sourceRoot, log, installDir);
    log.Line("result: %d", (int)result);
    return result;
}
