#include "common/PathRules.h"

#include <ctype.h>
#include <string.h>

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

// The length of the root of an absolute path: "C:\" is 3, "\\server\share\"
// (or "\\server\share" at the path's end) up to and with its backslash.
size_t RootLength(const char* path) {
    if (path[1] == ':')
        return 3;
    const char* at = path;
    for (int backslashes = 0; *at && backslashes < 4; at = NextChar(at))
        backslashes += *at == '\\';
    return (size_t)(at - path);
}

bool WithBackslash(PathBuffer& buffer, const char* text, size_t length) {
    bool slash = EndsWithChar(text, length, '\\');
    if (length + (slash ? 0 : 1) >= text::kPathBufferSize)
        return false;
    memcpy(buffer, text, length);
    if (!slash)
        buffer[length++] = '\\';
    buffer[length] = '\0';
    return true;
}

} // namespace

void CopyPrefix(PathBuffer& buffer, const char* text, size_t length) {
    memcpy(buffer, text, length);
    buffer[length] = '\0';
}

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

bool FormatMenuFolder(PathBuffer& folder, const char* programsFolder) {
    return PathInFolder(folder, programsFolder, kProductFolder);
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

bool RootOfPath(const char* path, PathBuffer& root) {
    if (!IsAbsolutePath(path))
        return false;
    return WithBackslash(root, path, RootLength(path));
}

bool NearestExistingFolder(const char* path, bool (*exists)(const char* folder),
                           PathBuffer& folder) {
    if (!IsAbsolutePath(path))
        return false;
    size_t rootLength = RootLength(path);
    size_t length = strnlen(path, text::kPathBufferSize);
    for (;;) {
        while (length > rootLength && EndsWithChar(path, length, '\\'))
            --length;
        if (length <= rootLength)
            break;
        if (!WithBackslash(folder, path, length))
            return false;
        if (exists(folder))
            return true;
        // Up one level: the folder's text without its last name.
        folder[length] = '\0';
        length = (size_t)(FindLastChar(folder, '\\') - folder);
    }
    // The root answers for its drive whether or not the system lists it.
    return WithBackslash(folder, path, rootLength);
}
