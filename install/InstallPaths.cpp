#include "install/InstallPaths.h"

#include <string.h>

#include <memory>

#include "common/Names.h"
#include "text/CodePage.h"

bool BuildInstalledPaths(InstallPaths& p) {
    size_t rootLength = strlen(p.installRoot);
    memcpy(p.copyDestination, p.installRoot, rootLength + 1);
    p.copyDestination[rootLength + 1] = '\0';
    PathBuffer root;
    CopyPrefix(root, p.installRoot, rootLength);
    if (EndsWithChar(root, rootLength, '\\'))
        root[rootLength - 1] = '\0';

    if (!PathInFolder(p.installDir, root, kProductFolder))
        return false;
    const char* dir = p.installDir;
    static const struct {
        PathBuffer InstallPaths::*path;
        const char* name;
    } inDir[] = {
        {&InstallPaths::versionFile, kVersionFile}, {&InstallPaths::setupTarget, kSetupExe},
        {&InstallPaths::gameTarget, kGameExe},      {&InstallPaths::glideLibrary, kGlideLibrary},
        {&InstallPaths::setupGlide, kSetupGlide},
    };
    for (const auto& file : inDir) {
        if (!PathInFolder(p.*file.path, dir, file.name))
            return false;
    }
    return FormatPath(p.setupCommand, "\"%s\\%s\"", dir, kSetupExe) &&
           FormatPath(p.languagePool, "%s\\%s%s", dir, kInstalledLanguage, kPoolExtension) &&
           FormatPath(p.languageIndex, "%s\\%s%s", dir, kInstalledLanguage, kIndexExtension) &&
           PathInFolder(p.glideSource, kGlideFolder, kGlideLibrary);
}

bool BuildMenuPaths(InstallPaths& p, const char* programsFolder) {
    return FormatMenuFolder(p.menuFolder, programsFolder) &&
           PathInFolder(p.setupLink, p.menuFolder, kSetupLink) &&
           FormatPath(p.gameLink, "%s\\%s%s", p.menuFolder, kProductFolder, kLinkExtension);
}

bool BuildLanguageSources(InstallPaths& p, const char* language) {
    return FormatPath(p.languagePoolSource, "%s\\%s%s", kLanguagesFolder, language,
                      kPoolExtension) &&
           FormatPath(p.languageIndexSource, "%s\\%s%s", kLanguagesFolder, language,
                      kIndexExtension);
}

bool InstallFolderFor(const char* typed, PathBuffer& installDir) {
    // Larger than a frame may be in setup.
    std::unique_ptr<InstallPaths> paths(new InstallPaths());
    return paths && DeriveInstallRoot(typed, paths->installRoot) == RootRule::Derived &&
           BuildInstalledPaths(*paths) && CopyPath(installDir, paths->installDir);
}
