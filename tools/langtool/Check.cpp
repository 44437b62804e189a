// langtool check: a table against the format and against the texts setup
// asks for.

#include <stdarg.h>
#include <string.h>

#include <string>

#include "Commands.h"
#include "text/IndexRecord.h"
#include "text/LanguageTable.h"
#include "text/TextCatalogue.h"

namespace langtool {

namespace {

struct CatalogueText {
    int index;
    const char* name;
};

const CatalogueText kCatalogue[] = {
    {TXT_DIALOG_TITLE, "TXT_DIALOG_TITLE"},
    {TXT_INSTALL_TO, "TXT_INSTALL_TO"},
    {TXT_BROWSE, "TXT_BROWSE"},
    {TXT_INSTALL, "TXT_INSTALL"},
    {TXT_EXIT, "TXT_EXIT"},
    {TXT_BROWSE_TITLE, "TXT_BROWSE_TITLE"},
    {TXT_INSTALL_DONE, "TXT_INSTALL_DONE"},
    {TXT_INSTALL_DONE_CAPTION, "TXT_INSTALL_DONE_CAPTION"},
    {TXT_RUN_INSTALLED, "TXT_RUN_INSTALLED"},
    {TXT_RUN_INSTALLED_CAPTION, "TXT_RUN_INSTALLED_CAPTION"},
    {TXT_BROWSE_CAPTION, "TXT_BROWSE_CAPTION"},
    {TXT_LANGUAGE_SELECTION, "TXT_LANGUAGE_SELECTION"},
};

const size_t kMaxBrowseCaption = kBrowseCaptionSize - 1;

// Record problems past this many are counted but not listed.
const int kListedRecordErrors = 20;

class CReport {
  public:
    CReport(const char* base, FILE* out) : m_base(base), m_out(out) {}

    void Error(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        va_list args;
        va_start(args, format);
        Print("error", format, args);
        va_end(args);
        ++m_errors;
    }
    void Warning(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        va_list args;
        va_start(args, format);
        Print("warning", format, args);
        va_end(args);
        ++m_warnings;
    }
    int Errors() const { return m_errors; }
    int Warnings() const { return m_warnings; }

  private:
    void Print(const char* kind, const char* format, va_list args) {
        fprintf(m_out, "%s: %s: ", m_base, kind);
        vfprintf(m_out, format, args);
        fputc('\n', m_out);
    }

    const char* m_base;
    FILE* m_out;
    int m_errors = 0;
    int m_warnings = 0;
};

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
            report.Error("record %d (offset %u, length %u): %s", index, entry.offset, entry.length,
                         problem);
        } else {
            ++unlisted;
        }
    }
    if (unlisted > 0) {
        report.Error("%d more records with problems", unlisted);
    }
}

void CheckCatalogue(const CLanguageTable& table, const std::string& pool, CReport& report) {
    for (const CatalogueText& wanted : kCatalogue) {
        TextIndexEntry entry;
        if (!table.GetEntry(wanted.index, &entry)) {
            report.Error("%s (%d) is missing: the table has %d records", wanted.name, wanted.index,
                         table.GetCount());
            continue;
        }
        if (RecordProblem(entry, pool) != nullptr) {
            continue; // already reported with the records
        }
        size_t length = strlen(pool.data() + entry.offset);
        if (length == 0) {
            report.Warning("%s (%d) is empty", wanted.name, wanted.index);
        }
        if (wanted.index == TXT_BROWSE_CAPTION && length > kMaxBrowseCaption) {
            report.Error("%s (%d) has %u characters; the folder picker's caption holds at most "
                         "%u",
                         wanted.name, wanted.index, (unsigned)length, (unsigned)kMaxBrowseCaption);
        }
    }
}

} // namespace

int Check(const char* base, FILE* out, FILE* err) {
    if (!IsReadableBase(base, err)) {
        return kExitFailed;
    }
    CReport report(base, out);
    std::string index;
    std::string pool;
    if (!ReadWholeFile(std::string(base) + ".sif", &index)) {
        report.Error("the index file cannot be read");
    }
    if (!ReadWholeFile(std::string(base) + ".poo", &pool)) {
        report.Error("the pool file cannot be read");
    }
    if (index.size() % text::kRecordSize != 0) {
        report.Error("%u bytes after the last record of the index",
                     (unsigned)(index.size() % text::kRecordSize));
    }
    CLanguageTable table;
    table.Load(base);
    CheckRecords(table, pool, report);
    CheckCatalogue(table, pool, report);
    fprintf(out, "%s: %d records, %u pool bytes: %d errors, %d warnings\n", base, table.GetCount(),
            (unsigned)pool.size(), report.Errors(), report.Warnings());
    return report.Errors() > 0 ? kExitFailed : kExitOk;
}

} // namespace langtool
