#include "app/Unattended.h"

#include "common/Elevation.h"
#include "common/Names.h"
#include "common/ProgramLanguage.h"
#include "install/InstallPaths.h"
#include "install/LogReport.h"
#include "install/SourceMedium.h"
#include "record/InstalledGame.h"
#include "record/UninstallerHome.h"
#include "ui/DialogInstall.h"

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
        log.Line("language: failed: the disc has no language %s",
                 (const char*)CLogValue(options.language));
        return false;
    }
    CopyPath(language, options.language);
    return true;
}

// The disc to install from: for an elevated part only the root that the
// player's run found, and only while it holds the game; otherwise the scan's.
bool FindSource(const SetupOptions& options, char* root) {
    if (!options.elevated)
        return FindMediumRoot(root);
    return IsProductMedium(options.source) && CopyText(root, MAX_PATH, options.source);
}

} // namespace

int RunOwnedInstall(const SetupOptions& options) {
    CWnd owner;
    owner.Attach(reinterpret_cast<HWND>((UINT_PTR)options.owner));
    if (!IsWindow(owner))
        return kExitUsage;
    // The dialog's language, from the disc it found, which must offer it.
    LanguageTexts texts;
    char sourceRoot[MAX_PATH];
    if (!FindSource(options, sourceRoot)) {
        TellNoMedium(owner, texts);
        return kExitNoMedium;
    }
    if (!MediumOffersLanguage(sourceRoot, options.language))
        return kExitUsage;
    LoadMediumLanguage(texts, sourceRoot, options.language);
    PathBuffer installDir;
    return InstallWithMessages(owner, texts, sourceRoot, options.folder, options.language,
                               options.glide, installDir);
}

int RunUnattended(const SetupOptions& options) {
    PathBuffer folder, language, installDir;
    if (options.folder[0])
        CopyPath(folder, options.folder);
    else
        OfferedInstallRoot(folder);
    LogReport log;
    if (!OpenPartLog(options, InstallFolderFor(folder, installDir) ? installDir : nullptr, log))
        return kExitUsage;
    // The disc is found before administrator rights are asked for, and the
    // elevated part installs from that disc or not at all.
    char sourceRoot[MAX_PATH];
    bool found = FindSource(options, sourceRoot);
    if (found && !options.elevated && NeedsElevation()) {
        SetupOptions elevated = options;
        CopyPath(elevated.source, sourceRoot);
        return RunElevatedPartInto(elevated, log);
    }
    if (!found) {
        log.Line("medium: failed: %s", kNoMedium.text.english);
        return kExitNoMedium;
    }
    log.Line("medium: ok: %s", (const char*)CLogValue(sourceRoot));
    if (!ChooseLanguage(options, sourceRoot, log, language))
        return kExitUsage;
    log.Line("folder: %s; language: %s", (const char*)CLogValue(folder),
             (const char*)CLogValue(language));
    InstallRequest request = {folder, language, GlideDriverInstalled(), nullptr, nullptr};
    SetupExit result = RunInstallation(request, sourceRoot, log, installDir);
    log.Line("result: %d", (int)result);
    return result;
}
