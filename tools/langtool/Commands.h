#pragma once
// The langtool commands and what they share.

#include <stdio.h>

#include <string>
#include <vector>

#include "CodePage.h"
#include "text/LanguageTable.h"
#include "text/TextCatalogue.h"

namespace langtool {

enum { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

// The code page of a table when the command line names none.
const unsigned kDefaultCodePage = 1252;

// Builds the table BASE from the PO file `source`, or with a null `base`
// only checks the source. Untranslated, fuzzy and out-of-date texts are
// warnings, and errors with `release`.
int Build(const char* source, const std::string* base, bool release, FILE* out, FILE* err);
int CheckTable(const std::string& base, const CodePageChoice& codePage, FILE* out, FILE* err);
int Dump(const std::string& base, const CodePageChoice& codePage, FILE* out, FILE* err);
int WriteTemplate(FILE* out, FILE* err);
int PrintCatalogue(FILE* out);

// A table's files as read: the index's records and the pool's bytes.
struct TableFiles {
    std::vector<TextIndexEntry> records;
    std::string pool;
};

// Reads the table at `base`. False, with one line to `err`, when setup
// could not read it whole: a base path longer than setup's buffer, a file
// missing or unreadable, an empty index or one of odd size, fewer records
// than every table has (kRecordsOfEveryTable), a pool that ends before a
// record does. A table may end before the catalogue's last text.
bool ReadTable(const std::string& base, TableFiles* table, FILE* err);

// Whether `text` lies past the table's last record: the table was made
// before the text existed, and setup shows its English.
bool PastTheEnd(const TableFiles& table, const CatalogueText& text);

// The problem with one record's place in the pool, or null when it is sound.
const char* RecordProblem(const TextIndexEntry& entry, const std::string& pool);

// The whole file at `path`; false when it cannot be read (errno tells why).
bool ReadWholeFile(const std::string& path, std::string* data);

// Makes the folder that `path` lies in, and those above it; false, with one
// line to `err`, when it cannot.
bool MakeParentFolder(const std::string& path, FILE* err);

} // namespace langtool
