#pragma once
// Conversion between UTF-8 (langtool's output, PO texts once read) and a
// Windows code page (the bytes in a language table) or a PO file's charset,
// done by glibc's iconv (CodePageIconv.cpp); and the Windows ANSI code page
// of a language (CodePages.cpp).

#include <string>

enum class ConvertResult {
    Ok,
    Unrepresentable, // a character the target cannot hold
    InvalidInput,    // the input is not valid in its encoding
    Unsupported,     // the code page or charset is unknown to the library
};

// `utf8` composed to Unicode's normalization form C (libunistring), so
// that a decomposed letter converts as the code page's own; `utf8` as it is
// when it is not valid UTF-8.
std::string ComposeNfc(const std::string& utf8);

// UTF-8 `in`, composed (ComposeNfc), to code page `codePage` in `out`.
ConvertResult Utf8ToCodePage(unsigned codePage, const std::string& in, std::string* out);

// Code page `codePage` bytes `in` to UTF-8 in `out`.
ConvertResult CodePageToUtf8(unsigned codePage, const std::string& in, std::string* out);

// Text in the charset named `charset` ("ISO-8859-2") to UTF-8 in `out`.
ConvertResult CharsetToUtf8(const std::string& charset, const std::string& in, std::string* out);

// The Windows ANSI code page of a PO file's Language ("pl", "pt_BR",
// "sr@latin", "zh_Hant_TW"): by its script, else its region, else the
// language alone; 0 when the table has none for it, or when the script
// decides and the tag names none ("zh").
unsigned WindowsCodePage(const std::string& language);

// Why a language that WindowsCodePage gives no code page cannot have one
// by adding a header: its script has no Windows ANSI code page ("hi",
// "hy", "pa_Guru"), or the tag must name the script ("zh": which to say).
// "" for a language with a code page or one the table does not know.
std::string NoCodePageReason(const std::string& language);

// The `language` written in `script` ("Latn", "Cyrl") when that has a code
// page of its own: "sr_Latn (or sr@latin)" for "sr" and "Latn"; "" when
// `language` already is in it or no such variant has another code page.
std::string ScriptVariant(const std::string& language, const char* script);

// The script of a letter as ISO 15924 names it ("Latn", "Cyrl", "Grek",
// "Hebr", "Arab", "Thai", "Hang", "Hani"; "Kana" for Japanese kana); null
// for any other character.
const char* ScriptOfCharacter(unsigned c);

// The Language values of the languages written in `script`, for a message
// ("ja" for "Kana"); "" for a script of many languages' (Latin).
std::string LanguagesOfScript(const char* script);

// A code page and where it came from ("Language: zh_Hant",
// "X-Windows-Codepage", "--codepage"), for every message that names it.
struct CodePageChoice {
    unsigned number = 0;
    std::string origin;
};

// "code page 950 (from Language: zh_Hant)"
std::string Describe(const CodePageChoice& codePage);

// Whether `codePage` is one of Windows' ANSI code pages (874, 932, 936,
// 949, 950, 1250-1258), the only ones a table can be in; kAnsiCodePageList
// names them for messages.
bool IsAnsiCodePage(unsigned codePage);
extern const char kAnsiCodePageList[];

// Whether `byte` begins a two-byte character in `codePage` (932, 936, 949,
// 950); never in a single-byte code page.
bool IsLeadByte(unsigned codePage, unsigned char byte);

// Reads a code page number from 1 to 65535.
bool ParseCodePage(const std::string& text, unsigned* codePage);

// The first character of `utf8` (valid UTF-8), 0 for an empty text.
unsigned FirstCodePoint(const std::string& utf8);

// `text` with tab, line feed, carriage return, backslash and '"' escaped, as
// messages quote it.
std::string EscapeText(const std::string& text);
