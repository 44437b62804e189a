// Which Windows ANSI code page a language uses, and small helpers for
// UTF-8 texts.

#include <stdlib.h>
#include <string.h>

#include "CodePage.h"

namespace {

// The ANSI code page of Windows in each language (ISO 639 code, with a
// country or a script where they differ).
const struct {
    const char* language;
    unsigned codePage;
} kLanguageCodePages[] = {
    {"af", 1252},       {"ar", 1256}, {"az", 1254}, {"be", 1251}, {"bg", 1251}, {"bs", 1250},
    {"ca", 1252},       {"cs", 1250}, {"da", 1252}, {"de", 1252}, {"el", 1253}, {"en", 1252},
    {"es", 1252},       {"et", 1257}, {"eu", 1252}, {"fa", 1256}, {"fi", 1252}, {"fo", 1252},
    {"fr", 1252},       {"ga", 1252}, {"gl", 1252}, {"he", 1255}, {"hr", 1250}, {"hu", 1250},
    {"id", 1252},       {"is", 1252}, {"it", 1252}, {"ja", 932},  {"kk", 1251}, {"ko", 949},
    {"ky", 1251},       {"lt", 1257}, {"lv", 1257}, {"mk", 1251}, {"mn", 1251}, {"ms", 1252},
    {"nb", 1252},       {"nl", 1252}, {"nn", 1252}, {"no", 1252}, {"pl", 1250}, {"pt", 1252},
    {"ro", 1250},       {"ru", 1251}, {"sk", 1250}, {"sl", 1250}, {"sq", 1250}, {"sr", 1251},
    {"sr@latin", 1250}, {"sv", 1252}, {"sw", 1252}, {"th", 874},  {"tr", 1254}, {"tt", 1251},
    {"uk", 1251},       {"ur", 1256}, {"uz", 1254}, {"vi", 1258}, {"zh", 936},  {"zh_HK", 950},
    {"zh_TW", 950},
};

unsigned FindCodePage(const std::string& language) {
    for (const auto& entry : kLanguageCodePages) {
        if (language == entry.language) {
            return entry.codePage;
        }
    }
    return 0;
}

} // namespace

unsigned WindowsCodePage(const std::string& language) {
    // "sr_RS@latin": the whole tag, then without the country, then the
    // language alone.
    size_t country = language.find_first_of("_-");
    size_t script = language.find('@');
    std::string base = language.substr(0, std::min(country, script));
    std::string modifier = script == std::string::npos ? "" : language.substr(script);
    for (const std::string& tag : {language, base + modifier, base}) {
        if (unsigned codePage = FindCodePage(tag)) {
            return codePage;
        }
    }
    return 0;
}

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
        const char* escape = c == '\t'   ? "\\t"
                             : c == '\n' ? "\\n"
                             : c == '\r' ? "\\r"
                             : c == '\\' ? "\\\\"
                             : c == '"'  ? "\\\""
                                         : nullptr;
        escaped += escape != nullptr ? std::string(escape) : std::string(1, c);
    }
    return escaped;
}
