// libFuzzer target: any text typed as the install path, and any recorded
// installation folder, in a single-byte code page and in 932, where the
// second byte of a character may be a backslash. The input up to its first
// NUL is the text.
// Each result sits in a buffer of exactly its size, so that the sanitizers
// see a byte written past it. A derived root is an absolute path taken from
// the text by the rule; a refusal leaves no root.

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <string_view>

#include "common/Names.h"
#include "common/PathRules.h"
#include "install/InstallPaths.h"
#include "text/CodePage.h"

namespace {

const size_t kProductLength = sizeof kProductFolder - 1;

const unsigned char k932[] = {0x81, 0x9F, 0xE0, 0xFC, 0, 0};
bool g_doubleByte;

void Check(bool holds) {
    if (!holds)
        __builtin_trap();
}

bool IsLead(char c) {
    unsigned char byte = (unsigned char)c;
    return g_doubleByte && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
}

// Whether a character of `text` begins at `offset`, by a walk of its own.
bool BeginsCharacter(std::string_view text, size_t offset) {
    size_t at = 0;
    while (at < offset)
        at += IsLead(text[at]) ? 2 : 1;
    return at == offset;
}

// `text` with each "/" that is a character read as "\"; one inside a
// character is part of it.
std::string Backslashed(std::string text) {
    for (size_t at = 0; at < text.size(); at += IsLead(text[at]) ? 2 : 1) {
        if (text[at] == '/')
            text[at] = '\\';
    }
    return text;
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
    return !root.empty() && root.back() == '\\' && BeginsCharacter(typed, root.size() - 1) &&
           typed.substr(0, root.size()) == root &&
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
        if (root[rootLength - 1] == '\\' && BeginsCharacter(root, rootLength - 1))
            --rootLength;
        size_t dirLength = strlen(paths->installDir);
        Check(dirLength == rootLength + 1 + kProductLength &&
              memcmp(paths->installDir, root, rootLength) == 0 &&
              strcmp(paths->installDir + rootLength + 1, kProductFolder) == 0);
    }
    free(paths);
}

void CheckText(const uint8_t* data, size_t size) {
    char* typed = (char*)malloc(size + 1);
    Check(typed != nullptr);
    memcpy(typed, data, size);
    typed[size] = '\0';
    size_t typedLength = strlen(typed);

    PathBuffer* root = (PathBuffer*)malloc(sizeof(PathBuffer));
    Check(root != nullptr);
    RootRule rule = DeriveInstallRoot(typed, *root);
    Check(memchr(*root, '\0', sizeof(PathBuffer)) != nullptr);
    std::string backslashed = Backslashed(typed);
    Check(Backslashed(*root) == *root);
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
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (bool doubleByte : {false, true}) {
        g_doubleByte = doubleByte;
        SetCodePage(doubleByte ? k932 : nullptr, nullptr);
        CheckText(data, size);
    }
    return 0;
}
