#pragma once
// The langtool commands and what they share.

#include <stdio.h>

#include <map>
#include <string>
#include <vector>

#include "CodePage.h"
#include "Report.h"
#include "text/LanguageTable.h"
#include "text/TextCatalogue.h"

namespace langtool {

enum { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

// Builds the table BASE and setup's pair beside it from the PO file
// `source`, or with a null `base` only checks the source. Untranslated, fuzzy and out-of-date texts
// are warnings, and errors with `release`.
// `gameTable`, when not null, is a game's existing table whose own texts
// (those setup does not read) the built table keeps.
int Build(const char* source, const std::string* base, const char* gameTable, bool release,
          FILE* out, FILE* err);
// The base of setup's own pair of the language whose game's table is
// `base`: "DIR/Setup/NAME" for "DIR/NAME" (text/SetupPair.h).
std::string SetupPairBase(const std::string& base);
// `codePageGiven`: the command line named `codePage`; else the table's
// setup pair names it (TableCodePage).
int CheckTable(const std::string& base, CodePageChoice codePage, bool codePageGiven, FILE* out,
               FILE* err);
int Dump(const std::string& base, CodePageChoice codePage, bool codePageGiven, FILE* out,
         FILE* err);
int WriteTemplate(FILE* out, FILE* err);
int PrintCatalogue(FILE* out);

// A table's files as read: the index's records and the pool's bytes; for a
// language read whole (ReadTable), what its setup pair says and the game's
// own texts, which setup does not read.
struct TableFiles {
    std::vector<TextIndexEntry> records;
    std::string pool;
    bool setupPair = false;             // a setup pair with its marker lies beside it
    bool rightToLeft = false;           // as the setup pair's direction record says
    unsigned pairCodePage = 0;          // as the setup pair's code page record says; 0: none
    std::map<int, std::string> gameOwn; // the game's table's other texts, by index
    int texts = 0;                      // records of both pairs that hold a text
};

// The number of records that hold a text in a language's two pairs, the
// setup pair's marker, direction and code page left out: the one count
// every command's summary gives.
int CountTexts(const std::map<int, std::string>& game, const std::map<int, std::string>& setup);

// A game's own text in a PO file: msgctxt "GAME_123" holds record 123 of the
// game's table, which setup does not read but a round trip keeps. Returns
// the index, or -1 for any other context.
int GameRecordOf(const std::string& context);
// Whether record `index` of a game's table is the game's own: any but
// those setup reads there (setup's messages come from its own pair).
bool IsGameOwn(int index);
std::string GameRecordContext(int index);

// The code page to read the table at `base` in: `given` when the command
// line named one, else the one its setup pair records; false, with one line
// to `err`, when neither says (langtool does not guess).
bool TableCodePage(const std::string& base, const TableFiles& table, bool given,
                   CodePageChoice* codePage, FILE* err);

// Says once, as a warning to `report`, that the language at `base` has no
// setup pair, what that means and what to do.
void ReportNoSetupPair(const std::string& base, int messages, CReport& report);

// Whether `text` is one whose lines get the right-to-left mark in a
// right-to-left language: a message's own text.
bool TakesDirectionMarks(const CatalogueText& text);
// The right-to-left mark in `codePage` (0xFE in 1255 and 1256), 0 in the
// code pages that have none.
char RightToLeftMark(unsigned codePage);
// `bytes` with the mark before each line that starts with a left-to-right
// character (a Latin letter, or a placeholder, which a path or a number
// fills), so that a right-to-left message box keeps the line's order; and
// the reverse, for a dump.
std::string AddDirectionMarks(const std::string& bytes, unsigned codePage);
std::string RemoveDirectionMarks(const std::string& bytes, unsigned codePage);

// Reads the language at `base` as setup reads it: the game's table up to
// kRecordsOfEveryTable, then setup's pair beside it (SetupPairBase), when
// there is one. False, with one line to `err`, when setup could not read
// either whole: a base path longer than setup's buffer, a file missing or
// unreadable, an empty index or one of odd size, fewer records than every
// table has (kRecordsOfEveryTable), a pool that ends before a record does,
// a setup pair without its marker. Without the setup pair the table ends
// before the catalogue's messages.
bool ReadTable(const std::string& base, TableFiles* table, FILE* err);

// Whether `text` lies past the table's last record: the table was made
// before the text existed, and setup shows its English.
bool PastTheEnd(const TableFiles& table, const CatalogueText& text);

// The problem with one record's place in the pool, or null when it is sound.
const char* RecordProblem(const TextIndexEntry& entry, const std::string& pool);

// What keeps `name` from naming a language (the file names setup lists);
// "" when nothing does.
std::string LanguageNameProblem(const std::string& name);
// The language's name of the PO file `source`: its file name without ".po".
std::string SourceName(const std::string& source);
// A table's base name: BASE, BASE.sif and BASE.poo all name BASE.
std::string TableBaseOf(const char* name);

// The whole file at `path`; false when it cannot be read (errno tells why).
bool ReadWholeFile(const std::string& path, std::string* data);

// Makes the folder that `path` lies in, and those above it; false, with one
// line to `err`, when it cannot.
bool MakeParentFolder(const std::string& path, FILE* err);

} // namespace langtool
