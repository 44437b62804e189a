#include "SourceFormat.h"

#include <stdlib.h>
#include <string.h>

namespace langtool {

namespace {

bool IsBlank(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, strlen(prefix), prefix) == 0;
}

std::string TrimmedEnd(const std::string& text) {
    size_t end = text.find_last_not_of(" \t");
    return end == std::string::npos ? "" : text.substr(0, end + 1);
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

bool ParseTextLine(const std::string& line, SourceLine* parsed, std::string* problem) {
    size_t tab = 0;
    if (!ParseIndex(line, &parsed->index, &tab, problem)) {
        return false;
    }
    parsed->raw = line.substr(tab + 1);
    parsed->textColumn = (int)tab + 2;
    return Unescape(parsed->raw, &parsed->text, problem);
}

// The whole-file problem that keeps the source from being read as UTF-8
// lines, or null.
const char* EncodingProblem(const std::string& data) {
    bool utf16Mark = StartsWith(data, "\xFF\xFE") || StartsWith(data, "\xFE\xFF");
    bool utf16Nul = data.size() >= 2 && (data[0] == '\0' || data[1] == '\0');
    if (utf16Mark || utf16Nul) {
        return "the source is UTF-16; save it as UTF-8";
    }
    if (data.find('\r') != std::string::npos && data.find('\n') == std::string::npos) {
        return "the source has CR-only line ends; save it with LF or CR-LF line ends";
    }
    return nullptr;
}

// What the comments before a text line say about it.
struct Pending {
    bool hasEnglish = false;
    std::string english;
    bool isNew = false;
    std::vector<std::string> notes;
};

class CParser {
  public:
    CParser(const char* fileName, Source* source, FILE* err)
        : m_fileName(fileName), m_source(source), m_err(err) {}

    void Line(const std::string& line, int number);
    bool Finish() {
        m_source->trailer = m_pending.notes;
        return m_ok;
    }

  private:
    void Comment(const std::string& line, int number);
    void CodePage(const std::string& value, int number);
    void Problem(int number, const std::string& problem) {
        fprintf(m_err, "%s:%d: error: %s\n", m_fileName, number, problem.c_str());
        m_ok = false;
    }

    const char* m_fileName;
    Source* m_source;
    FILE* m_err;
    Pending m_pending;
    bool m_ok = true;
};

void CParser::Line(const std::string& line, int number) {
    if (IsBlank(line) || line[0] == '#') {
        Comment(line, number);
        return;
    }
    SourceLine parsed;
    parsed.line = number;
    std::string problem;
    if (!ParseTextLine(line, &parsed, &problem)) {
        Problem(number, problem);
        return;
    }
    parsed.hasEnglish = m_pending.hasEnglish;
    parsed.english = m_pending.english;
    parsed.isNew = m_pending.isNew;
    parsed.notes.swap(m_pending.notes);
    m_source->lines.push_back(parsed);
    m_pending = Pending();
}

void CParser::Comment(const std::string& line, int number) {
    std::string body = line.size() > 1 ? line.substr(1) : "";
    std::string word =
        TrimmedEnd(body.substr(std::min(body.find_first_not_of(" \t"), body.size())));
    if (StartsWith(line, "# en:")) {
        std::string raw = line.substr(line.size() > 5 && line[5] == ' ' ? 6 : 5);
        std::string problem;
        m_pending.hasEnglish = Unescape(raw, &m_pending.english, &problem);
        if (!m_pending.hasEnglish) {
            Problem(number, problem);
        }
    } else if (TrimmedEnd(line) == "# new") {
        m_pending.isNew = true;
    } else if (StartsWith(word, "codepage:")) {
        CodePage(word.substr(9), number);
        m_pending.notes.push_back(line);
    } else {
        m_pending.notes.push_back(line);
    }
}

void CParser::CodePage(const std::string& value, int number) {
    size_t start = value.find_first_not_of(" \t");
    unsigned codePage = 0;
    if (!ParseCodePage(start == std::string::npos ? "" : value.substr(start), &codePage)) {
        Problem(number, "expected \"# codepage: N\" with N from 1 to 65535");
    } else if (m_source->codePageLine != 0) {
        Problem(number,
                "the code page is already given on line " + std::to_string(m_source->codePageLine));
    } else {
        m_source->codePage = codePage;
        m_source->codePageLine = number;
    }
}

} // namespace

bool ParseCodePage(const std::string& text, unsigned* codePage) {
    char* end = nullptr;
    unsigned long value = strtoul(text.c_str(), &end, 10);
    if (text.empty() || text[0] < '0' || text[0] > '9' || *end != '\0' || value == 0 ||
        value > 65535) {
        return false;
    }
    *codePage = (unsigned)value;
    return true;
}

bool ParseSource(const std::string& data, const char* fileName, Source* source, FILE* err) {
    if (const char* problem = EncodingProblem(data)) {
        fprintf(err, "%s: error: %s\n", fileName, problem);
        return false;
    }
    CParser parser(fileName, source, err);
    size_t pos = StartsWith(data, "\xEF\xBB\xBF") ? 3 : 0;
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
        parser.Line(line, number);
    }
    return parser.Finish();
}

unsigned FirstCodePoint(const std::string& utf8) {
    const unsigned char* s = (const unsigned char*)utf8.c_str();
    if (s[0] < 0x80) {
        return s[0];
    }
    int extra = s[0] >= 0xF0 ? 3 : s[0] >= 0xE0 ? 2 : 1;
    unsigned c = s[0] & (0x3F >> extra);
    for (int i = 1; i <= extra && s[i] != 0; ++i) {
        c = (c << 6) | (s[i] & 0x3F);
    }
    return c;
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
