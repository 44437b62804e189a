#include "SourceFormat.h"

#include <string.h>

namespace langtool {

namespace {

bool IsBlank(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

// Reads the decimal index at the start of `line` up to its tab.
bool ParseIndex(const std::string& line, int* index, size_t* tab, std::string* problem) {
    size_t pos = 0;
    long value = 0;
    while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9') {
        value = value * 10 + (line[pos] - '0');
        if (value > kMaxIndex) {
            *problem = "index above the largest allowed (" + std::to_string(kMaxIndex) + ")";
            return false;
        }
        ++pos;
    }
    if (pos == 0 || pos >= line.size() || line[pos] != '\t') {
        *problem = "expected a decimal index, a tab and the text";
        return false;
    }
    *index = (int)value;
    *tab = pos;
    return true;
}

bool Unescape(const std::string& raw, std::string* text, std::string* problem) {
    text->clear();
    for (size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
        if (c == '\0') {
            *problem = "NUL byte in the text";
            return false;
        }
        if (c != '\\') {
            *text += c;
            continue;
        }
        char next = i + 1 < raw.size() ? raw[++i] : '\0';
        const char* from = "tnr\\";
        const char* to = "\t\n\r\\";
        const char* found = next != '\0' ? strchr(from, next) : nullptr;
        if (found == nullptr) {
            *problem = next == '\0' ? "backslash at the end of the text"
                                    : std::string("unknown escape \\") + next;
            return false;
        }
        *text += to[found - from];
    }
    return true;
}

bool ParseLine(const std::string& line, SourceLine* parsed, std::string* problem) {
    size_t tab = 0;
    return ParseIndex(line, &parsed->index, &tab, problem) &&
           Unescape(line.substr(tab + 1), &parsed->text, problem);
}

} // namespace

bool ParseSource(const std::string& data, const char* fileName, std::vector<SourceLine>* lines,
                 FILE* err) {
    bool ok = true;
    size_t pos = data.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (int number = 1; pos < data.size(); ++number) {
        size_t end = data.find('\n', pos);
        if (end == std::string::npos) {
            end = data.size();
        }
        std::string line = data.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (IsBlank(line) || line[0] == '#') {
            continue;
        }
        SourceLine parsed;
        parsed.line = number;
        std::string problem;
        if (ParseLine(line, &parsed, &problem)) {
            lines->push_back(parsed);
        } else {
            fprintf(err, "%s:%d: error: %s\n", fileName, number, problem.c_str());
            ok = false;
        }
    }
    return ok;
}

std::string EscapeText(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '\t':
            escaped += "\\t";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\r':
            escaped += "\\r";
            break;
        case '\\':
            escaped += "\\\\";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

} // namespace langtool
