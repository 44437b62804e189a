// langtool check: a table against the format and against the texts setup
// asks for.

#include <string.h>

#include <string>

#include "Catalogue.h"
#include "Commands.h"
#include "text/IndexRecord.h"
#include "text/LanguageTable.h"

namespace langtool {

namespace {

// Record problems past this many are counted but not listed.
const int kListedRecordErrors = 20;

// The problem with one record's place in the pool, or null when it is sound.
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

void CheckRecords(const CLanguageTable& table, const std::string& pool, CReport& report) {
    int listed = 0;
    int unlisted = 0;
    for (int index = 0; index < table.GetCount(); ++index) {
        TextIndexEntry entry;
        table.GetEntry(index, &entry);
        const char* problem = RecordProblem(entry, pool);
        if (problem == nullptr) {
            continue;
        }
        if (listed++ < kListedRecordErrors) {
            report.Error(0, "record %d (offset %u, length %u): %s", index, entry.offset,
                         entry.length, problem);
        } else {
            ++unlisted;
        }
    }
    if (unlisted > 0) {
        report.Error(0, "%d more records with problems", unlisted);
    }
}

// The texts of the table by index: every record that holds a text and
// every catalogue index the table has, broken records marked.
TableTexts ReadTexts(const CLanguageTable& table, const std::string& pool) {
    TableTexts texts;
    for (int index = 0; index < table.GetCount(); ++index) {
        TextIndexEntry entry;
        table.GetEntry(index, &entry);
        bool broken = RecordProblem(entry, pool) != nullptr;
        std::string bytes = broken ? "" : pool.c_str() + entry.offset;
        if (broken || !bytes.empty() || IsCatalogueIndex(index)) {
            texts[index].bytes = bytes;
            texts[index].broken = broken;
        }
    }
    return texts;
}

} // namespace

int Check(const std::string& base, unsigned codePage, FILE* out, FILE* err) {
    if (!IsReadableBase(base, err)) {
        return kExitFailed;
    }
    CReport report(base.c_str(), out);
    std::string index;
    std::string pool;
    if (!ReadWholeFile(base + ".sif", &index)) {
        report.Error(0, "the index file cannot be read");
    }
    if (!ReadWholeFile(base + ".poo", &pool)) {
        report.Error(0, "the pool file cannot be read");
    }
    if (index.size() % text::kRecordSize != 0) {
        report.Error(0, "%u bytes after the last record of the index",
                     (unsigned)(index.size() % text::kRecordSize));
    }
    CLanguageTable table;
    table.Load(base.c_str());
    CheckRecords(table, pool, report);
    CheckCatalogue(ReadTexts(table, pool), codePage, report);
    fprintf(out, "%s: %d records, %u pool bytes: %d errors, %d warnings\n", base.c_str(),
            table.GetCount(), (unsigned)pool.size(), report.Errors(), report.Warnings());
    return report.Errors() > 0 ? kExitFailed : kExitOk;
}

} // namespace langtool
