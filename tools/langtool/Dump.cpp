// langtool dump: a table as a language's PO file, so that building the dump
// gives the same table.

#include <stdlib.h>

#include <string>

#include "CodePage.h"
#include "Commands.h"
#include "Po.h"
#include "Report.h"
#include "text/SetupPair.h"
#include "text/TextCatalogue.h"

namespace langtool {

namespace {

// The header of a dump: the table's code page, since it knows no language,
// and the direction its setup pair records.
std::string DumpHeader(const TableFiles& table, const CodePageChoice& codePage) {
    std::string direction = table.rightToLeft ? text::kRightToLeft : text::kLeftToRight;
    return "Project-Id-Version: The Vellmor Setup\n"
           "Language: \n"
           "MIME-Version: 1.0\n"
           "Content-Type: text/plain; charset=UTF-8\n"
           "Content-Transfer-Encoding: 8bit\n"
           "X-Windows-Codepage: " +
           std::to_string(codePage.number) + "\n" +
           (table.setupPair ? "X-Text-Direction: " + direction + "\n" : std::string());
}

// The catalogue's texts of the table as PO entries; those past its end
// (a table made before they existed, or without its setup pair)
// untranslated. A right-to-left language's direction marks are langtool's,
// not the translator's: left out.
void DumpTexts(const TableFiles& table, const CodePageChoice& codePage, PoFile* po,
               CReport& report) {
    for (const CatalogueText& text : kTextCatalogue) {
        PoEntry dumped;
        dumped.context = text.name;
        dumped.english = text.english;
        if (PastTheEnd(table, text)) {
            po->entries.push_back(dumped);
            continue;
        }
        const TextIndexEntry& entry = table.records[text.index];
        if (const char* problem = RecordProblem(entry, table.pool)) {
            report.Error(0, "%s (%d): %s", text.name, text.index, problem);
            continue;
        }
        std::string bytes = table.pool.c_str() + entry.offset;
        if (table.rightToLeft && TakesDirectionMarks(text)) {
            bytes = RemoveDirectionMarks(bytes, codePage.number);
        }
        if (CodePageToUtf8(codePage.number, bytes, &dumped.translation) != ConvertResult::Ok) {
            report.Error(0, "%s (%d) holds bytes that are not text in %s", text.name, text.index,
                         Describe(codePage).c_str());
        } else if (dumped.translation.empty()) {
            report.Warning(0, "%s (%d) is empty; it is written untranslated", text.name,
                           text.index);
        }
        po->entries.push_back(dumped);
    }
}

// The game's own texts, as entries that build into the same records: the
// text is both the msgid and the msgstr, so that gettext's tools take it
// for done.
void DumpGameOwn(const TableFiles& table, const CodePageChoice& codePage, PoFile* po,
                 CReport& report) {
    for (const auto& own : table.gameOwn) {
        PoEntry dumped;
        dumped.context = GameRecordContext(own.first);
        dumped.comment = "The game's own text, record " + std::to_string(own.first) +
                         ": setup does not read it. Kept as it is.\n";
        if (CodePageToUtf8(codePage.number, own.second, &dumped.translation) != ConvertResult::Ok) {
            report.Error(0, "record %d, the game's own, holds bytes that are not text in %s",
                         own.first, Describe(codePage).c_str());
            continue;
        }
        dumped.english = dumped.translation;
        po->entries.push_back(dumped);
    }
}

// Records of setup's pair that are no text setup reads: left out.
void WarnAboutOthers(const TableFiles& table, CReport& report) {
    for (size_t index = kRecordsOfEveryTable; index < table.records.size(); ++index) {
        const TextIndexEntry& entry = table.records[index];
        bool empty =
            RecordProblem(entry, table.pool) == nullptr && table.pool[entry.offset] == '\0';
        if (FindCatalogueText((int)index) == nullptr && !empty) {
            report.Warning(0, "record %d is not a text setup reads; it is left out", (int)index);
        }
    }
}

} // namespace

int GameRecordOf(const std::string& context) {
    const char prefix[] = "GAME_";
    size_t digits = context.size() - (sizeof prefix - 1);
    if (context.compare(0, sizeof prefix - 1, prefix) != 0 || digits == 0 || digits > 9 ||
        context.find_first_not_of("0123456789", sizeof prefix - 1) != std::string::npos) {
        return -1;
    }
    return atoi(context.c_str() + sizeof prefix - 1);
}

std::string GameRecordContext(int index) {
    return "GAME_" + std::to_string(index);
}

int Dump(const std::string& base, CodePageChoice codePage, bool codePageGiven, FILE* out,
         FILE* err) {
    TableFiles table;
    if (!ReadTable(base, &table, err) ||
        !TableCodePage(base, table, codePageGiven, &codePage, err)) {
        return kExitFailed;
    }
    CReport report(base.c_str(), err);
    fprintf(err, "%s: read as %s, %d records\n", base.c_str(), Describe(codePage).c_str(),
            table.texts);
    if (!table.setupPair) {
        int messages = 0;
        for (const CatalogueText& text : kTextCatalogue) {
            messages += PastTheEnd(table, text) ? 1 : 0;
        }
        ReportNoSetupPair(base, messages, report);
    }
    PoFile po;
    po.header = DumpHeader(table, codePage);
    DumpTexts(table, codePage, &po, report);
    DumpGameOwn(table, codePage, &po, report);
    WarnAboutOthers(table, report);
    std::string text;
    if (report.Errors() > 0 || !FormatPo(po, false, &text, err)) {
        return kExitFailed;
    }
    fputs(text.c_str(), out);
    return kExitOk;
}

} // namespace langtool
