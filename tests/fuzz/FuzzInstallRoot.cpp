// libFuzzer target: any text typed as the install path, and any recorded
// installation folder. The input up to its first NUL is the text.
// Each result sits in a buffer of exactly its size, so that the sanitizers
// see a byte written past it. A derived root is an absolute path taken from
// the text by the rule; a refusal leaves no root.

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "install/Names.h"
#include "install/PathRules.h"

namespace {

const size_t kProductLength = sizeof kProductFolder - 1;

void Check(bool holds) {
    if (!holds)
        __builtin_trap();
}

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool StartsWith(const char* text, size_t length, const char* prefix) {
    size_t prefixLength = strlen(prefix);
    return prefixLength <= length && memcmp(text, prefix, prefixLength) == 0;
}

// The root is the text as typed, or the trimmed text cut just before the
// product folder standing as a whole folder name; `typed` has its "/"
// already read as "\".
bool IsRootOf(const char* root, const char* typed) {
    if (strcmp(root, typed) == 0)
        return true;
    const char* start = typed;
    const char* end = typed + strlen(typed);
    while (start < end && IsBlank(*start))
        ++start;
    while (end > start && IsBlank(end[-1]))
        --end;
    size_t rootLength = strlen(root);
    if (rootLength == 0 || root[rootLength - 1] != '\\' ||
        !StartsWith(start, (size_t)(end - start), root))
        return false;
    const char* product = start + rootLength;
    if (!StartsWith(product, (size_t)(end - product), kProductFolder))
        return false;
    const char* after = product + kProductLength;
    return after == end || *after == '\\';
}

void CheckDerivedPaths(const char* root) {
    InstallPaths* paths = (InstallPaths*)malloc(sizeof(InstallPaths));
    Check(paths != nullptr);
    memcpy(paths->installRoot, root, strlen(root) + 1);
    if (BuildInstalledPaths(*paths)) {
        size_t rootLength = strlen(root);
        Check(paths->copyDestination[rootLength] == '\0' &&
              paths->copyDestination[rootLength + 1] == '\0');
        if (root[rootLength - 1] == '\\')
            --rootLength;
        size_t dirLength = strlen(paths->installDir);
        Check(dirLength == rootLength + 1 + kProductLength &&
              memcmp(paths->installDir, root, rootLength) == 0 &&
              strcmp(paths->installDir + rootLength + 1, kProductFolder) == 0);
    }
    free(paths);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char* typed = (char*)malloc(size + 1);
    Check(typed != nullptr);
    memcpy(typed, data, size);
    typed[size] = '\0';
    size_t typedLength = strlen(typed);

    PathBuffer* root = (PathBuffer*)malloc(sizeof(PathBuffer));
    Check(root != nullptr);
    RootRule rule = DeriveInstallRoot(typed, *root);
    Check(memchr(*root, '\0', sizeof(PathBuffer)) != nullptr);
    Check(strchr(*root, '/') == nullptr);
    char* backslashed = strdup(typed);
    Check(backslashed != nullptr);
    for (char* c = backslashed; *c; ++c)
        *c = *c == '/' ? '\\' : *c;
    switch (rule) {
    case RootRule::Derived:
        Check(typedLength < sizeof(PathBuffer) && IsAbsolutePath(*root) &&
              IsRootOf(*root, backslashed));
        CheckDerivedPaths(*root);
        break;
    case RootRule::TooLong:
        Check(typedLength >= sizeof(PathBuffer) && (*root)[0] == '\0');
        break;
    case RootRule::Relative:
        Check(typedLength < sizeof(PathBuffer) && (*root)[0] == '\0');
        break;
    default:
        Check(false);
    }

    // The root shown for a recorded folder is a beginning of that folder.
    RootOfRecordedFolder(typed, *root);
    size_t shown = strlen(*root);
    Check(shown < sizeof(PathBuffer) && shown <= typedLength && memcmp(*root, typed, shown) == 0);

    free(root);
    free(backslashed);
    free(typed);
    return 0;
}
