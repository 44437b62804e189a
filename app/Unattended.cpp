#include "app/Unattended.h"

#include "install/InstalledGame.h"
#include "install/LogReport.h"
#include "install/SourceMedium.h"

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

} // namespace

int RunUnattended(const SetupOptions& options) {
    LogReport log;
    if (options.log[0] && !log.Open(options.log))
        return kExitUsage;
    char sourceRoot[MAX_PATH];
    if (!FindMediumRoot(sourceRoot)) {
        log.Line("medium: failed: %s", kNoMedium.text.english);
        return kExitNoMedium;
    }
    log.Line("medium: ok: %s", sourceRoot);
    PathBuffer folder, language;
    if (options.folder[0])
        FormatPath(folder, "%s", options.folder);
    else
        OfferedInstallRoot(folder);
    if (!ChooseLanguage(options, sourceRoot, log, language))
        return kExitUsage;
    log.Line("folder: %s; language: %s", folder, language);
    InstallRequest request = {folder, language, GlideDriverInstalled(), nullptr, nullptr};
    PathBuffer installDir;
    SetupExit result = RunInstallation(request, sourceRoot, log, installDir);
    log.Line("result: %d", (int)result);
    return result;
}
