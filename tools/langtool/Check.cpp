// langtool check of a table: its files against the format, then its texts
// against the catalogue; and the reading of a table that dump shares.

#include <errno.h>
#include <string.h>

#include <string>

#include "Catalogue.h"
#include "Commands.h"
#include "text/IndexRecord.h"
#include "text/SetupPair.h"

namespace langtool {

namespace {

// Record problems past this many are counted but not listed.
const int kListedRecordErrors = 20;

// Decodes the index into `table`; says in one line why setup could not
// read the table whole, or nothing when it could.
std::string Damage(const std::string& base, const std::string& index, const std::string& pool,
                   TableFiles* table) {
    if (index.empty()) {
        return base + ".sif is empty";
    }
    if (index.size() % text::kRecordSize != 0) {
        return base + ".sif is cut off: " + std::to_string(index.size()) +
               " bytes are no whole number of 8-byte records";
    }
    for (size_t at = 0; at < index.size(); at += text::kRecordSize) {
        table->records.push_back(text::DecodeRecord((const unsigned char*)index.data() + at));
    }
    if (table->records.size() < (size_t)kRecordsOfEveryTable) {
        return base + ".sif is cut off: " + std::to_string(table->records.size()) +
               " records, where every table has at least " + std::to_string(kRecordsOfEveryTable);
    }
    for (size_t i = 0; i < table->records.size(); ++i) {
        const TextIndexEntry& entry = table->records[i];
        uint64_t end = (uint64_t)entry.offset + entry.length;
        if (entry.offset <= text::kMaxOffset && end > pool.size()) {
            return base + ".poo is cut off: " + std::to_string(pool.size()) + " bytes, record " +
                   std::to_string(i) + " ends at " + std::to_string(end);
        }
    }
    return "";
}

// The text of record `index` up to its NUL, as setup reads it; "" for a
// record that is missing or unsound.
std::string RecordText(const TableFiles& table, size_t index) {
    if (index >= table.records.size() ||
        RecordProblem(table.records[index], table.pool) != nullptr) {
        return "";
    }
    return table.pool.c_str() + table.records[index].offset;
}

bool HoldsMarker(const TableFiles& setup) {
    return RecordText(setup, text::kSetupMarkerRecord) == text::kSetupPairMarker;
}

// The records from `first` on that hold a text.
int CountHeld(const TableFiles& table, size_t first) {
    int held = 0;
    for (size_t index = first; index < table.records.size(); ++index) {
        held += RecordText(table, index).empty() ? 0 : 1;
    }
    return held;
}

// What setup's pair says besides its texts: the direction and the code page.
void ReadPairRecords(const TableFiles& setup, TableFiles* table) {
    table->setupPair = true;
    table->rightToLeft = RecordText(setup, text::kSetupDirectionRecord) == text::kRightToLeft;
    unsigned codePage = 0;
    if (ParseCodePage(RecordText(setup, text::kSetupCodePageRecord), &codePage) &&
        IsAnsiCodePage(codePage)) {
        table->pairCodePage = codePage;
    }
    table->texts += CountHeld(setup, text::kSetupCodePageRecord + 1);
}

// The game table's records that are not texts setup reads: the game's own.
void KeepGameOwn(TableFiles* table) {
    for (size_t index = 0; index < table->records.size(); ++index) {
        std::string text = RecordText(*table, index);
        if (IsGameOwn((int)index) && !text.empty()) {
            table->gameOwn[(int)index] = text;
        }
    }
    table->texts = CountHeld(*table, 0);
}

// Setup reads the game's table up to kRecordsOfEveryTable: records past it
// are the game's own. Its messages come from setup's pair beside the table,
// whose records from there on are appended with their offsets moved past
// the game's pool; without the pair they lie past the end, and setup shows
// their English. False, with one line to `err`, when the pair is there but
// setup could not read it whole or it lacks its marker.
bool MergeSetupPair(const std::string& base, TableFiles* table, FILE* err) {
    KeepGameOwn(table);
    table->records.resize(kRecordsOfEveryTable);
    std::string setupBase = SetupPairBase(base);
    std::string index;
    TableFiles setup;
    if (!ReadWholeFile(setupBase + ".sif", &index) && errno == ENOENT) {
        return true;
    }
    std::string damage;
    if (!ReadWholeFile(setupBase + ".poo", &setup.pool)) {
        damage = "cannot read " + setupBase + ".poo: " + strerror(errno);
    } else {
        damage = Damage(setupBase, index, setup.pool, &setup);
    }
    if (damage.empty() && !HoldsMarker(setup)) {
        damage = setupBase + " is not setup's pair: its record 0 is not \"" +
                 text::kSetupPairMarker + "\"";
    }
    if (!damage.empty()) {
        fprintf(err, "langtool: %s\n", damage.c_str());
        return false;
    }
    ReadPairRecords(setup, table);
    for (size_t i = kRecordsOfEveryTable; i < setup.records.size(); ++i) {
        TextIndexEntry entry = setup.records[i];
        entry.offset += (uint32_t)table->pool.size();
        table->records.push_back(entry);
    }
    table->pool += setup.pool;
    return true;
}

void CheckRecords(const TableFiles& table, CReport& report) {
    int listed = 0;
    for (size_t index = 0; index < table.records.size(); ++index) {
        const TextIndexEntry& entry = table.records[index];
        const char* problem = RecordProblem(entry, table.pool);
        if (problem != nullptr && listed++ < kListedRecordErrors) {
            report.Error(0, "record %d (offset %u, length %u): %s", (int)index, entry.offset,
                         entry.length, problem);
        }
    }
    if (listed > kListedRecordErrors) {
        report.Error(0, "%d more records with problems", listed - kListedRecordErrors);
    }
}

// The texts of the table by index: every catalogue index, broken records
// marked, and every other record that holds a text. A catalogue text past
// the table's end is not translated: setup shows its English, which stands
// in for it here as in a build, and it counts in `untranslated`.
TableTexts ReadTexts(const TableFiles& table, unsigned codePage, int* untranslated) {
    TableTexts texts;
    for (const CatalogueText& text : kTextCatalogue) {
        if (PastTheEnd(table, text)) {
            Utf8ToCodePage(codePage, text.english, &texts[text.index].bytes);
            ++*untranslated;
        }
    }
    for (size_t index = 0; index < table.records.size(); ++index) {
        const TextIndexEntry& entry = table.records[index];
        bool broken = RecordProblem(entry, table.pool) != nullptr;
        // Up to the record's end: a NUL before it hides the rest from setup.
        std::string bytes = broken ? "" : table.pool.substr(entry.offset, entry.length - 1);
        bool gameOwn = table.gameOwn.count((int)index) != 0;
        if (FindCatalogueText((int)index) != nullptr || (!broken && !bytes.empty() && !gameOwn)) {
            texts[(int)index].bytes = bytes;
            texts[(int)index].broken = broken;
        }
    }
    return texts;
}

} // namespace

bool IsGameOwn(int index) {
    return index >= 0 && (FindCatalogueText(index) == nullptr || InSetupPair(index));
}

const char* RecordProblem(const TextIndexEntry& entry, const std::string& pool) {
    if (entry.length == 0) {
        return "length 0 leaves no room for the terminating NUL";
    }
    if (entry.offset > text::kMaxOffset) {
        return "offset is 2^31 or more";
    }
    if ((uint64_t)entry.offset + entry.length > pool.size()) {
        return "bytes reach past the end of the pool";
    }
    if (memchr(pool.data() + entry.offset, '\0', entry.length) == nullptr) {
        return "no NUL within its bytes";
    }
    return nullptr;
}

bool PastTheEnd(const TableFiles& table, const CatalogueText& text) {
    return text.index >= (int)table.records.size();
}

bool ReadTable(const std::string& base, TableFiles* table, FILE* err) {
    if (base.size() > text::kMaxBasePath) {
        fprintf(err, "langtool: %s: base path longer than %d characters\n", base.c_str(),
                (int)text::kMaxBasePath);
        return false;
    }
    std::string index;
    for (const char* extension : {".sif", ".poo"}) {
        std::string path = base + extension;
        if (!ReadWholeFile(path, extension[1] == 's' ? &index : &table->pool)) {
            fprintf(err, "langtool: cannot read %s: %s\n", path.c_str(), strerror(errno));
            return false;
        }
    }
    std::string damage = Damage(base, index, table->pool, table);
    if (damage.empty() && HoldsMarker(*table)) {
        damage = base + " is setup's own pair: give the game's table, whose folder holds " +
                 text::kSetupPairFolder;
    }
    if (!damage.empty()) {
        fprintf(err, "langtool: %s\n", damage.c_str());
    }
    return damage.empty() && MergeSetupPair(base, table, err);
}

int CountTexts(const std::map<int, std::string>& game, const std::map<int, std::string>& setup) {
    int held = 0;
    for (const auto& entry : game) {
        held += entry.second.empty() ? 0 : 1;
    }
    for (const auto& entry : setup) {
        held += entry.first <= text::kSetupCodePageRecord || entry.second.empty() ? 0 : 1;
    }
    return held;
}

bool TableCodePage(const std::string& base, const TableFiles& table, bool given,
                   CodePageChoice* codePage, FILE* err) {
    if (given) {
        return true;
    }
    if (table.pairCodePage != 0) {
        *codePage = CodePageChoice{table.pairCodePage, "its setup pair"};
        return true;
    }
    fprintf(err,
            "langtool: %s: %s, and langtool does not guess: give --codepage N, the ANSI code "
            "page of its language's Windows (%s)\n",
            base.c_str(),
            table.setupPair ? "its setup pair (made by an older langtool) names no code page"
                            : "no setup pair beside it names its code page",
            kAnsiCodePageList);
    return false;
}

void ReportNoSetupPair(const std::string& base, int messages, CReport& report) {
    report.Warning(0,
                   "no setup pair beside it (%s): setup shows its %d messages in English; build "
                   "the language again from its PO file with langtool build, which writes the "
                   "pair",
                   (SetupPairBase(base) + ".sif").c_str(), messages);
}

int CheckTable(const std::string& base, CodePageChoice codePage, bool codePageGiven, FILE* out,
               FILE* err) {
    TableFiles table;
    if (!ReadTable(base, &table, err) ||
        !TableCodePage(base, table, codePageGiven, &codePage, err)) {
        return kExitFailed;
    }
    CReport report(base.c_str(), out);
    CheckRecords(table, report);
    int untranslated = 0;
    TableTexts texts = ReadTexts(table, codePage.number, &untranslated);
    if (!table.setupPair) {
        ReportNoSetupPair(base, untranslated, report);
    }
    CheckCatalogue(texts, codePage.number, report);
    fprintf(out, "%s: %s, %d records, %u pool bytes, %d untranslated: %d errors, %d warnings\n",
            base.c_str(), Describe(codePage).c_str(), table.texts, (unsigned)table.pool.size(),
            untranslated, report.Errors(), report.Warnings());
    return report.Errors() > 0 ? kExitFailed : kExitOk;
}

} // namespace langtool
