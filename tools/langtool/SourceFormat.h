#pragma once
// The text source of a language table: UTF-8, one "index<TAB>text" per line,
// lines starting with '#' and blank lines ignored, and in the text the
// escapes \t, \n, \r and \\ for a tab, a line feed, a carriage return and a
// backslash. A UTF-8 byte order mark and CR-LF line ends are accepted.

#include <stdio.h>

#include <string>
#include <vector>

namespace langtool {

// The largest index a source may give; it keeps a mistyped index from
// producing an index file of gigabytes.
const int kMaxIndex = 0xFFFFF;

struct SourceLine {
    int index;
    int line;         // 1-based line number in the source file
    std::string text; // UTF-8, escapes resolved
};

// Parses `data`, the contents of `fileName`. Reports each problem to `err`
// as "file:line: error: ..." and returns false when there was any.
bool ParseSource(const std::string& data, const char* fileName, std::vector<SourceLine>* lines,
                 FILE* err);

// `text` with tab, line feed, carriage return and backslash escaped.
std::string EscapeText(const std::string& text);

} // namespace langtool
