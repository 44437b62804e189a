// Which Windows ANSI code page a language uses, and small helpers for
// UTF-8 texts.

#include <ctype.h>
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
    {"af", 1252}, {"ar", 1256}, {"az", 1254}, {"be", 1251}, {"bg", 1251}, {"bs", 1250},
    {"ca", 1252}, {"cs", 1250}, {"da", 1252}, {"de", 1252}, {"el", 1253}, {"en", 1252},
    {"es", 1252}, {"et", 1257}, {"eu", 1252}, {"fa", 1256}, {"fi", 1252}, {"fo", 1252},
    {"fr", 1252}, {"ga", 1252}, {"gl", 1252}, {"he", 1255}, {"hr", 1250}, {"hu", 1250},
    {"id", 1252}, {"is", 1252}, {"it", 1252}, {"ja", 932},  {"kk", 1251}, {"ko", 949},
    {"ky", 1251}, {"lt", 1257}, {"lv", 1257}, {"mk", 1251}, {"mn", 1251}, {"ms", 1252},
    {"nb", 1252}, {"nl", 1252}, {"nn", 1252}, {"no", 1252}, {"pl", 1250}, {"pt", 1252},
    {"ro", 1250}, {"ru", 1251}, {"sk", 1250}, {"sl", 1250}, {"sq", 1250}, {"sr", 1251},
    {"sv", 1252}, {"sw", 1252}, {"th", 874},  {"tr", 1254}, {"tt", 1251}, {"uk", 1251},
    {"ur", 1256}, {"uz", 1254}, {"vi", 1258},
};

// Languages whose script alone decides the code page, with no default:
// the tag must name the script (or a region that implies it).
const struct {
    const char* language;
    const char* choice; // what to say instead
} kScriptDecides[] = {
    {"zh", "say zh_CN or zh_Hans for Simplified (936), zh_TW or zh_Hant for Traditional (950)"},
    {"pa", "say pa_PK or pa_Arab for Shahmukhi (1256); Gurmukhi has no Windows ANSI code page"},
    {"sd", "say sd_PK or sd_Arab for the Arabic script (1256); Devanagari has no Windows ANSI "
           "code page"},
};

// Languages written only in scripts that no Windows ANSI code page holds
// (Armenian, Georgian, the Brahmic and Ethiopic scripts, Tibetan, Thaana,
// ...), and the scripts themselves as a tag names them.
const char* const kNoAnsiLanguages[] = {"am", "as", "bn", "bo", "dv", "gu",  "hi", "hy", "iu",
                                        "ka", "km", "kn", "lo", "ml", "mr",  "my", "ne", "or",
                                        "sa", "si", "ta", "te", "ti", "kok", "syr"};
const char* const kNoAnsiScripts[] = {"Armn", "Beng", "Deva", "Ethi", "Geor", "Gujr", "Guru",
                                      "Khmr", "Knda", "Laoo", "Mlym", "Mymr", "Orya", "Sinh",
                                      "Syrc", "Taml", "Telu", "Thaa", "Tibt"};

// Languages written in more than one script or region choose by it: the
// tag's script, else its region, before the language alone.
const struct {
    const char* tag; // language_Script or language_REGION
    unsigned codePage;
} kTagCodePages[] = {
    {"zh_Hant", 950},  {"zh_TW", 950},  {"zh_HK", 950},    {"zh_MO", 950},    {"zh_Hans", 936},
    {"zh_CN", 936},    {"zh_SG", 936},  {"sr_Latn", 1250}, {"az_Latn", 1254}, {"uz_Latn", 1254},
    {"pa_Arab", 1256}, {"pa_PK", 1256}, {"sd_Arab", 1256}, {"sd_PK", 1256},
};

// The Windows ANSI code pages: the only ones setup's tables are in.
const unsigned kAnsiCodePages[] = {874,  932,  936,  949,  950,  1250, 1251,
                                   1252, 1253, 1254, 1255, 1256, 1257, 1258};

unsigned FindCodePage(const std::string& language) {
    for (const auto& entry : kLanguageCodePages) {
        if (language == entry.language) {
            return entry.codePage;
        }
    }
    return 0;
}

unsigned FindTagCodePage(const std::string& tag) {
    for (const auto& entry : kTagCodePages) {
        if (tag == entry.tag) {
            return entry.codePage;
        }
    }
    return 0;
}

// A language tag in its parts: "sr_Latn_RS", "zh-Hant", "sr_RS@latin",
// "pl_PL.UTF-8". gettext's modifiers @latin and @cyrillic name a script.
struct LanguageTag {
    std::string language;
    std::string script; // "Latn", "Hant"; "" when the tag names none
    std::string region; // "TW", "419"
};

LanguageTag SplitTag(std::string text) {
    LanguageTag tag;
    size_t at = text.find('@');
    std::string modifier = at == std::string::npos ? "" : text.substr(at + 1);
    text = text.substr(0, std::min(at, text.find('.')));
    tag.script = modifier == "latin" ? "Latn" : modifier == "cyrillic" ? "Cyrl" : "";
    size_t start = 0;
    for (int part = 0; start <= text.size(); ++part) {
        size_t end = std::min(text.find_first_of("_-", start), text.size());
        std::string subtag = text.substr(start, end - start);
        if (part == 0) {
            tag.language = subtag;
        } else if (subtag.size() == 4 && tag.script.empty()) {
            tag.script = (char)toupper((unsigned char)subtag[0]) + subtag.substr(1);
        } else if (subtag.size() == 2 || subtag.size() == 3) {
            tag.region = subtag;
        }
        start = end + 1;
    }
    return tag;
}

template <size_t N> bool IsOneOf(const std::string& text, const char* const (&list)[N]) {
    for (const char* entry : list) {
        if (text == entry) {
            return true;
        }
    }
    return false;
}

} // namespace

unsigned WindowsCodePage(const std::string& language) {
    LanguageTag tag = SplitTag(language);
    if (unsigned codePage = FindTagCodePage(tag.language + "_" + tag.script)) {
        return codePage;
    }
    if (tag.script == "Cyrl") {
        return 1251;
    }
    if (unsigned codePage = FindTagCodePage(tag.language + "_" + tag.region)) {
        return codePage;
    }
    return FindCodePage(tag.language);
}

std::string NoCodePageReason(const std::string& language) {
    if (WindowsCodePage(language) != 0) {
        return "";
    }
    LanguageTag tag = SplitTag(language);
    if (IsOneOf(tag.script, kNoAnsiScripts) ||
        (tag.script.empty() && IsOneOf(tag.language, kNoAnsiLanguages))) {
        return "setup cannot show this language: Windows has no ANSI code page for its script";
    }
    for (const auto& entry : kScriptDecides) {
        if (tag.language == entry.language) {
            return std::string("the script decides the code page of Language \"") + language +
                   "\": " + entry.choice;
        }
    }
    return "";
}

std::string ScriptVariant(const std::string& language, const char* script) {
    LanguageTag tag = SplitTag(language);
    std::string variant = tag.language + "_" + script;
    if (tag.script == script || WindowsCodePage(variant) == 0 ||
        WindowsCodePage(variant) == WindowsCodePage(language)) {
        return "";
    }
    const char* modifier = strcmp(script, "Latn") == 0   ? "@latin"
                           : strcmp(script, "Cyrl") == 0 ? "@cyrillic"
                                                         : nullptr;
    return modifier != nullptr ? variant + " (or " + tag.language + modifier + ")" : variant;
}

const char* ScriptOfCharacter(unsigned c) {
    const struct {
        unsigned first, last;
        const char* script;
    } kScripts[] = {
        {'A', 'Z', "Latn"},       {'a', 'z', "Latn"},       {0xC0, 0xD6, "Latn"},
        {0xD8, 0xF6, "Latn"},     {0xF8, 0x24F, "Latn"},    {0x1E00, 0x1EFF, "Latn"},
        {0x370, 0x3FF, "Grek"},   {0x400, 0x52F, "Cyrl"},   {0x5D0, 0x5EA, "Hebr"},
        {0x620, 0x64A, "Arab"},   {0x671, 0x6D3, "Arab"},   {0xE01, 0xE5B, "Thai"},
        {0x3041, 0x30FF, "Kana"}, {0xFF66, 0xFF9F, "Kana"}, {0x1100, 0x11FF, "Hang"},
        {0xAC00, 0xD7A3, "Hang"}, {0x4E00, 0x9FFF, "Hani"}, {0x3400, 0x4DBF, "Hani"},
    };
    for (const auto& range : kScripts) {
        if (c >= range.first && c <= range.last) {
            return range.script;
        }
    }
    return nullptr;
}

std::string LanguagesOfScript(const char* script) {
    const struct {
        const char* script;
        const char* languages;
    } kLanguages[] = {
        {"Grek", "el"},
        {"Cyrl", "ru (or uk, bg, be, ...: any language of code page 1251)"},
        {"Hebr", "he (or yi)"},
        {"Arab", "ar (or fa, ur, ...)"},
        {"Thai", "th"},
        {"Kana", "ja"},
        {"Hang", "ko"},
        {"Hani", "ja, zh_Hans (Simplified Chinese) or zh_Hant (Traditional)"},
    };
    for (const auto& entry : kLanguages) {
        if (strcmp(script, entry.script) == 0) {
            return entry.languages;
        }
    }
    return "";
}

bool IsAnsiCodePage(unsigned codePage) {
    for (unsigned ansi : kAnsiCodePages) {
        if (codePage == ansi) {
            return true;
        }
    }
    return false;
}

const char kAnsiCodePageList[] = "874, 932, 936, 949, 950 and 1250 to 1258";

std::string Describe(const CodePageChoice& codePage) {
    return "code page " + std::to_string(codePage.number) + " (from " + codePage.origin + ")";
}

bool IsLeadByte(unsigned codePage, unsigned char byte) {
    if (codePage == 932) {
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    }
    bool doubleByte = codePage == 936 || codePage == 949 || codePage == 950;
    return doubleByte && byte >= 0x81 && byte <= 0xFE;
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
