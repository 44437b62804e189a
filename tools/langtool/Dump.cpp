// langtool dump: a table as a language's PO file, so that building the dump
// gives the same table.

#include <string>

#include "CodePage.h"
#include "Commands.h"
#include "Po.h"
#include "Report.h"
#include "text/TextCatalogue.h"

namespace langtool {

namespace {

// The header of a dump: the table's code page, since it knows no language.
std::string DumpHeader(const CodePageChoice& codePage) {
    return "Project-Id-Version: The Vellmor Setup\n"
           "Language: \n"
           "MIME-Version: 1.0\n"
           "Content-Type: text/plain; charset=UTF-8\n"
           "Content-Transfer-Encoding: 8bit\n"
           "X-Windows-Codepage: " +
           std::to_string(codePage.number) + "\n";
}

// The catalogue's texts of the table as PO entries; those past its end
// (a table made before they existed) untranslated.
void DumpTexts(const TableFiles& table, const CodePageChoice& codePage, PoFile* po,
               CReport& report) {
    for (const CatalogueText& text : kTextCatalogue) {
        PoEntry dumped;
        dumped.context = text.name;
        dumped.english = text.english;
        if (PastTheEnd(table, text)) {
            report.Warning(0, "%s (%d) is past the table's end; it is written untranslated",
                           text.name, text.index);
            po->entries.push_back(dumped);
            continue;
        }
        const TextIndexEntry& entry = table.records[text.index];
        if (const char* problem = RecordProblem(entry, table.pool)) {
            report.Error(0, "%s (%d): %s", text.name, text.index, problem);
            continue;
        }
        if (CodePageToUtf8(codePage.number, table.pool.c_str() + entry.offset,
                           &dumped.translation) != ConvertResult::Ok) {
            report.Error(0, "%s (%d) holds bytes that are not text in %s", text.name, text.index,
                         Describe(codePage).c_str());
        } else if (dumped.translation.empty()) {
            report.Warning(0, "%s (%d) is empty; it is written untranslated", text.name,
                           text.index);
        }
        po->entries.push_back(dumped);
    }
}

void WarnAboutOthers(const TableFiles& table, CReport& report) {
    for (size_t index = 0; index < table.records.size(); ++index) {
        const TextIndexEntry& entry = table.records[index];
        bool empty =
            RecordProblem(entry, table.pool) == nullptr && table.pool[entry.offset] == '\0';
        if (FindCatalogueText((int)index) == nullptr && !empty) {
            report.Warning(0, "record %d is not a text setup reads; it is left out", (int)index);
        }
    }
}

} // namespace

int Dump(const std::string& base, const CodePageChoice& codePage, FILE* out, FILE* err) {
    TableFiles table;
    if (!ReadTable(base, &table, err)) {
        return kExitFailed;
    }
    CReport report(base.c_str(), err);
    fprintf(err, "%s: read as %s\n", base.c_str(), Describe(codePage).c_str());
    PoFile po;
    po.header = DumpHeader(codePage);
    DumpTexts(table, codePage, &po, report);
    WarnAboutOthers(table, report);
    std::string text;
    if (report.Errors() > 0 || !FormatPo(po, false, &text, err)) {
        return kExitFailed;
    }
    fputs(text.c_str(), out);
    return kExitOk;
}

} // namespace langtool
