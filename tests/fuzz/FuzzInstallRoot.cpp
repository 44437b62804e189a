// libFuzzer target: any text typed as the install path, and any recorded
// installation folder. The input up to its first NUL is the text.
// Each result sits in a buffer of exactly its size, so that the sanitizers
// see a byte written past it. A derived root is an absolute path taken from
// the text by the rule; a refusal leaves no root.

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "common/Names.h"
#include "common/PathRules.h"
#include "install/InstallPaths.h"

namespace {

const size_t kProductLength = sizeof kProductFolder - 1;

void Check(bool holds) {
    if (!holds)
        __builtin_trap();
}

// The root is the text as typed, or the trimmed text cut just before the
// product folder standing as a whole folder name; `typed` has its "/"
// already read as "\".
bool IsRootOf(std::string_view root, std::string_view typed) {
    if (root == typed)
        return true;
    const char* blanks = " \t\n\v\f\r";
    size_t start = typed.find_first_not_of(blanks);
    if (start == std::string_view::npos)
        return false;
    typed = typed.substr(start, typed.find_last_not_of(blanks) + 1 - start);
    size_t after = root.size() + kProductLength;
    return !root.empty() && root.back() == '\\' && typed.substr(0, root.size()) == root &&
           typed.substr(root.size(), kProductLength) == kProductFolder &&
           (typed.size() == after || typed[after] == '\\');
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
    std::string backslashed = typed;
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
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
    free(typed);
    return 0;
}
