#pragma once
// PO files, read and written through gettext's own library (libgettextpo).

#include <stdio.h>

#include <string>
#include <vector>

#include "Report.h"

namespace langtool {

// One entry of a PO file, its texts in UTF-8.
struct PoEntry {
    std::string context;     // msgctxt: the catalogue's name of the text
    std::string english;     // msgid
    std::string translation; // msgstr; empty while untranslated
    bool fuzzy = false;
    std::string comment; // the extracted comment ("#."), for writing
};

struct PoFile {
    std::string header;           // the header entry's fields, "Language: pl\n..."
    std::string headerComment;    // for writing: the comment above the header
    std::vector<PoEntry> entries; // without the header and obsolete entries
};

// The value of a header field, "" when the header lacks it.
std::string HeaderField(const std::string& header, const char* field);

// Reads `path`, its texts converted from the header's charset. The
// library's syntax errors and warnings go to `report`; false when the file
// cannot be read or has errors.
bool ReadPo(const char* path, PoFile* po, CReport& report);

// `po` as the text of a PO file in gettext's layout, the header marked
// fuzzy when `fuzzyHeader` (a template's), each entry whose English has
// placeholders marked qt-format; false, reported to `err`, on failure.
bool FormatPo(const PoFile& po, bool fuzzyHeader, std::string* text, FILE* err);

} // namespace langtool
