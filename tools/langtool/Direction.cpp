// The right-to-left mark that langtool puts before a message's line that
// starts with a left-to-right character: a message box reading right to
// left orders each line by its first strong character, so "The Vellmor ..."
// or a path at a line's start would otherwise read left to right.

#include <string>

#include "CodePage.h"
#include "Commands.h"

namespace langtool {

namespace {

// Whether the line at `at` starts with a left-to-right character: a letter
// of a left-to-right script, or a placeholder, which a path or a number
// fills.
bool StartsLeftToRight(const std::string& bytes, size_t at, unsigned codePage) {
    if (bytes[at] == '%' && at + 1 < bytes.size() && bytes[at + 1] >= '1' && bytes[at + 1] <= '9') {
        return true;
    }
    std::string utf8;
    if (CodePageToUtf8(codePage, bytes.substr(at, 1), &utf8) != ConvertResult::Ok) {
        return false;
    }
    const char* script = ScriptOfCharacter(FirstCodePoint(utf8));
    return script != nullptr && std::string(script) != "Hebr" && std::string(script) != "Arab";
}

} // namespace

bool TakesDirectionMarks(const CatalogueText& text) {
    return text.place == kInMessageBody;
}

char RightToLeftMark(unsigned codePage) {
    return codePage == 1255 || codePage == 1256 ? '\xFE' : '\0';
}

std::string AddDirectionMarks(const std::string& bytes, unsigned codePage) {
    char mark = RightToLeftMark(codePage);
    std::string marked;
    for (size_t at = 0; at < bytes.size(); ++at) {
        bool lineStart = at == 0 || bytes[at - 1] == '\n';
        if (mark != '\0' && lineStart && StartsLeftToRight(bytes, at, codePage)) {
            marked += mark;
        }
        marked += bytes[at];
    }
    return marked;
}

std::string RemoveDirectionMarks(const std::string& bytes, unsigned codePage) {
    char mark = RightToLeftMark(codePage);
    std::string plain;
    for (size_t at = 0; at < bytes.size(); ++at) {
        bool lineStart = at == 0 || bytes[at - 1] == '\n';
        if (!(mark != '\0' && lineStart && bytes[at] == mark)) {
            plain += bytes[at];
        }
    }
    return plain;
}

} // namespace langtool
