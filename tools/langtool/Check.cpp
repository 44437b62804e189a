// langtool check of a table: its files against the format, then its texts
// against the catalogue; and the reading of a table that dump shares.

#include <errno.h>
#include <string.h>

#include <string>

#include "Catalogue.h"
#include "Commands.h"
#include "text/IndexRecord.h"

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
TableTexts ReadTexts(const TableFiles& table, unsigned codePage, int* untranslated,
                     CReport& report) {
    TableTexts texts;
    for (const CatalogueText& text : kTextCatalogue) {
        if (PastTheEnd(table, text)) {
            report.Warning(0,
                           "%s (%d) is past the table's end, not translated; the English is used",
                           text.name, text.index);
            Utf8ToCodePage(codePage, text.english, &texts[text.index].bytes);
            ++*untranslated;
        }
    }
    for (size_t index = 0; index < table.records.size(); ++index) {
        const TextIndexEntry& entry = table.records[index];
        bool broken = RecordProblem(entry, table.pool) != nullptr;
        // Up to the record's end: a NUL before it hides the rest from setup.
        std::string bytes = broken ? "" : table.pool.substr(entry.offset, entry.length - 1);
        if (FindCatalogueText((int)index) != nullptr || (!broken && !bytes.empty())) {
            texts[(int)index].bytes = bytes;
            texts[(int)index].broken = broken;
        }
    }
    return texts;
}

} // namespace

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
    if (!damage.empty()) {
        fprintf(err, "langtool: %s\n", damage.c_str());
    }
    return damage.empty();
}

int CheckTable(const std::string& base, const CodePageChoice& codePage, FILE* out, FILE* err) {
    TableFiles table;
    if (!ReadTable(base, &table, err)) {
        return kExitFailed;
    }
    CReport report(base.c_str(), out);
    CheckRecords(table, report);
    int untranslated = 0;
    CheckCatalogue(ReadTexts(table, codePage.number, &untranslated, report), codePage.number,
                   report);
    fprintf(out, "%s: %s, %d records, %u pool bytes, %d untranslated: %d errors, %d warnings\n",
            base.c_str(), Describe(codePage).c_str(), (int)table.records.size(),
            (unsigned)table.pool.size(), untranslated, report.Errors(), report.Warnings());
    return report.Errors() > 0 ? kExitFailed : kExitOk;
}

} // namespace langtool
