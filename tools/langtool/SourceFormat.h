#pragma once
// The text source of a language table: UTF-8, one "index<TAB>text" per line,
// and in the text the escapes \t, \n, \r and \\ for a tab, a line feed, a
// carriage return and a backslash. A UTF-8 byte order mark and CR-LF line
// ends are accepted; a UTF-16 source and CR-only line ends are errors that
// say so.
//
// Lines starting with '#' are comments, blank lines are ignored; a few
// comments mean something:
//   # codepage: N    the Windows code page of the table (default 1252); once
//   # en: TEXT       the English text (escaped as a text is) that the next
//                    text line was translated from
//   # new            the next text line is the English, not yet translated
//   #~ INDEX<TAB>TEXT an obsolete text: the master no longer has the index
// `langtool update` writes the last three; `langtool status` reads them.

#include <stdio.h>

#include <string>
#include <vector>

namespace langtool {

// The largest index a source may give; it keeps a mistyped index from
// producing an index file of gigabytes.
const int kMaxIndex = 0xFFFFF;

struct SourceLine {
    int index;
    int line;                       // 1-based line number in the source file
    int textColumn;                 // 1-based column where the text starts
    std::string text;               // UTF-8, escapes resolved
    std::string raw;                // the text as written, escapes kept
    bool hasEnglish;                // a "# en:" line precedes it
    std::string english;            // that line's text, escapes resolved
    bool isNew;                     // a "# new" line precedes it
    std::vector<std::string> notes; // other lines since the previous text line
};

struct Source {
    std::vector<SourceLine> lines;
    unsigned codePage = 0; // from "# codepage: N"; 0 when the source names none
    int codePageLine = 0;
    std::vector<std::string> trailer; // lines after the last text line
};

// Parses `data`, the contents of `fileName`. Reports each problem to `err`
// as "file:line: error: ..." and returns false when there was any.
bool ParseSource(const std::string& data, const char* fileName, Source* source, FILE* err);

// Reads a code page number from 1 to 65535.
bool ParseCodePage(const std::string& text, unsigned* codePage);

// The first character of `utf8` (valid UTF-8), 0 for an empty text.
unsigned FirstCodePoint(const std::string& utf8);

// `text` with tab, line feed, carriage return and backslash escaped.
std::string EscapeText(const std::string& text);

} // namespace langtool
