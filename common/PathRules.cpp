#include "common/PathRules.h"

#include <ctype.h>
#include <string.h>

#include <memory>

#include "common/Names.h"
#include "text/CodePage.h"

namespace {

const size_t kProductLength = sizeof kProductFolder - 1;

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsBlank(char c) {
    return isspace((unsigned char)c) != 0;
}

// Where the product folder is a whole folder name in `text[0, length)`,
// first such place; null when it is none.
const char* FindProductFolder(const char* text, size_t length) {
    const char* end = text + length;
    for (const char* at = text; at < end; at = NextChar(at)) {
        const char* name = at + 1;
        if (*at != '\\' || (size_t)(end - name) < kProductLength ||
            memcmp(name, kProductFolder, kProductLength) != 0)
            continue;
        const char* after = name + kProductLength;
        if (after == end || *after == '\\')
            return name;
    }
    return nullptr;
}

void CopyPrefix(PathBuffer& buffer, const char* text, size_t length) {
    memcpy(buffer, text, length);
    buffer[length] = '\0';
}

} // namespace

bool IsAbsolutePath(const char* path) {
    if (IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\')
        return true;
    if (path[0] != '\\' || path[1] != '\\')
        return false;
    // "\\server\share": both names present. "\\.\" and "\\?\" are the
    // system's device namespaces, no folder to install into.
    const char* server = path + 2;
    const char* serverEnd = FindChar(server, strlen(server), '\\');
    size_t serverLength = serverEnd ? (size_t)(serverEnd - server) : 0;
    if (serverLength == 0)
        return false;
    if (serverLength == 1 && (server[0] == '.' || server[0] == '?'))
        return false;
    const char* share = server + serverLength + 1;
    return share[0] != '\0' && share[0] != '\\';
}

RootRule DeriveInstallRoot(const char* typedText, PathBuffer& root) {
    root[0] = '\0';
    size_t length = strnlen(typedText, text::kPathBufferSize);
    if (length >= text::kPathBufferSize)
        return RootRule::TooLong;
    // Windows takes "/" for "\" in a path ("C:/Games"); the root, and every
    // path and value built on it, carries backslashes.
    PathBuffer typed;
    CopyPrefix(typed, typedText, length);
    for (char* c = typed; *c; c = (char*)NextChar(c)) {
        if (*c == '/')
            *c = '\\';
    }

    const char* start = typed;
    const char* end = typed + length;
    while (start < end && IsBlank(*start))
        ++start;
    while (end > start && IsBlank(end[-1]))
        --end;
    const char* product = FindProductFolder(start, (size_t)(end - start));
    if (product)
        CopyPrefix(root, start, (size_t)(product - start));
    else
        CopyPrefix(root, typed, length);

    if (IsAbsolutePath(root))
        return RootRule::Derived;
    root[0] = '\0';
    return RootRule::Relative;
}

void RootOfRecordedFolder(const char* recorded, PathBuffer& root) {
    size_t length = strnlen(recorded, text::kPathBufferSize - 1);
    if (length > kProductLength && EndsWithChar(recorded, length - kProductLength, '\\') &&
        memcmp(recorded + length - kProductLength, kProductFolder, kProductLength) == 0) {
        length -= kProductLength + 1;
        // "C:" alone would name the drive's current folder, not its root.
        if (length == 0 || recorded[length - 1] == ':')
            ++length;
    }
    CopyPrefix(root, recorded, length);
}

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

bool FormatMenuFolder(PathBuffer& folder, const char* programsFolder) {
    return PathInFolder(folder, programsFolder, kProductFolder);
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

bool IsSameOrBelow(const char* path, const char* folder) {
    size_t length = strlen(folder);
    if (length == 0 || strlen(path) < length || !StartsChar(path, length) ||
        !IsSameText(path, folder, length))
        return false;
    return path[length] == '\0' || path[length] == '\\' || EndsWithChar(folder, length, '\\');
}

bool IsSamePath(const char* a, const char* b) {
    return strlen(a) == strlen(b) && IsSameOrBelow(a, b);
}

bool IsDriveRoot(const char* path) {
    char letter = (char)(path[0] | 0x20);
    return letter >= 'a' && letter <= 'z' && strcmp(path + 1, ":\\") == 0;
}

bool PlainFinalPath(const char* finalPath, PathBuffer& path) {
    const char kLong[] = "\\\\?\\";
    const char kLongUnc[] = "\\\\?\\UNC\\";
    if (strncmp(finalPath, kLongUnc, sizeof kLongUnc - 1) == 0)
        return FormatPath(path, "\\\\%s", finalPath + sizeof kLongUnc - 1);
    const char* rest = finalPath + sizeof kLong - 1;
    return strncmp(finalPath, kLong, sizeof kLong - 1) == 0 && rest[0] && rest[1] == ':' &&
           CopyPath(path, rest);
}
