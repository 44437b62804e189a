// langtool's commands, run in-process: PO files built into tables (code
// pages, the release gate, the catalogue's rules), damaged tables, the
// round trip through dump, and gettext's msgmerge on the template.

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Catalogue.h"
#include "CodePage.h"
#include "Langtool.h"
#include "ScratchTables.h"
#include "text/IndexRecord.h"
#include "text/LanguageTable.h"
#include "text/LanguageWriter.h"
#include "text/SetupPair.h"
#include "text/TextCatalogue.h"

namespace {

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

// Runs langtool's main in this process; what it prints is kept in memory.
RunResult Langtool(const std::vector<std::string>& args) {
    std::vector<const char*> argv = {"langtool"};
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    char* printed[2] = {nullptr, nullptr};
    size_t sizes[2] = {0, 0};
    FILE* out = open_memstream(&printed[0], &sizes[0]);
    FILE* err = open_memstream(&printed[1], &sizes[1]);
    if (out == nullptr || err == nullptr) {
        abort(); // out of memory
    }
    int status = LangtoolMain((int)argv.size(), argv.data(), out, err);
    fclose(out);
    fclose(err);
    RunResult result{status, std::string(printed[0], sizes[0]), std::string(printed[1], sizes[1])};
    free(printed[0]);
    free(printed[1]);
    return result;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// The entry of text `index` with its English and `msgstr`, after `comments`.
std::string Translated(int index, const std::string& msgstr, const std::string& comments = "") {
    const CatalogueText* text = FindCatalogueText(index);
    return comments + "msgctxt \"" + text->name + "\"\nmsgid \"" + EscapeText(text->english) +
           "\"\nmsgstr \"" + msgstr + "\"\n\n";
}

// A PO file with the header fields `header` (in UTF-8 unless they say
// otherwise), every catalogue text translated as its English, except those
// `changes` gives whole entries for (an empty one leaves the text out).
std::string Po(std::string header, const std::map<int, std::string>& changes) {
    if (header.find("Content-Type") == std::string::npos) {
        header = "Content-Type: text/plain; charset=UTF-8\n" + header;
    }
    std::string po = "msgid \"\"\nmsgstr \"\"\n";
    std::istringstream fields(header);
    for (std::string field; std::getline(fields, field);) {
        po += "\"" + field + "\\n\"\n";
    }
    po += "\n";
    for (const CatalogueText& text : kTextCatalogue) {
        auto change = changes.find(text.index);
        po += change != changes.end() ? change->second
                                      : Translated(text.index, EscapeText(text.english));
    }
    return po;
}

class LangtoolTest : public ScratchTablesTest {
  protected:
    std::string Source(const std::string& text, const char* name = "src.po") {
        std::string path = m_dir.File(name);
        EXPECT_TRUE(WriteBytes(path, text));
        return path;
    }
    RunResult Build(const std::string& source, const std::string& base,
                    const char* option = nullptr) {
        std::vector<std::string> args = {"build", source, "-o", base};
        if (option != nullptr) {
            args.push_back(option);
        }
        return Langtool(args);
    }
    static std::optional<std::string> TextOf(const std::string& base, int index) {
        CLanguageTable table;
        table.Load(base.c_str());
        return TextAt(table, index);
    }
};

// Each table built dumps to a PO file that builds the same bytes again. An
// East Asian text is measured in cells: 4 dialog units for a single byte, 8
// for a two-byte character. An error is one line.
TEST_F(LangtoolTest, TheCodePageComesFromTheHeaderAndDumpRoundTrips) {
    const struct {
        std::string header;
        std::string installTo; // as the PO file writes it, in its charset
        const char* expected;  // bytes of TXT_INSTALL_TO, or null for an error
        const char* result;    // the code page and its origin, or the error
        const char* warning = nullptr;
    } cases[] = {
        {"Language: pl", "W: \xC5\x82\xC3\xB3 \\\"a\\\"", "W: \xB3\xF3 \"a\"",
         "1250 (from Language: pl)"},
        {"Language: pl_PL", "\xC5\x82", "\xB3", "1250 (from Language: pl_PL)"},
        {"Language: ru", "\xD0\x9F\xD1\x83\xD1\x82\xD1\x8C", "\xCF\xF3\xF2\xFC",
         "1251 (from Language: ru)"},
        {"Language: sr@latin", "\xC5\xA1", "\x9A", "1250 (from Language: sr@latin)"},
        {"Language: de\nX-Windows-Codepage: 1251", "\xD0\x9F", "\xCF",
         "1251 (from X-Windows-Codepage)"},
        {"Language: cs\nContent-Type: text/plain; charset=ISO-8859-2", "\xB3\xF3", "\xB3\xF3",
         "1250 (from Language: cs)"},
        {"Language: zh_Hant",
         "\xE5\xAE\x89\xE8\xA3\x9D\xE5\x88\xB0\xE9\x80\x99\xE5\x80\x8B"
         "\xE8\xB3\x87\xE6\x96\x99\xE5\xA4\xBE\xE8\xA3\xA1\xE9\x9D\xA2",
         "\xA6\x77\xB8\xCB\xA8\xEC\xB3\x6F\xAD\xD3\xB8\xEA\xAE\xC6\xA7\xA8\xB8\xCC\xAD\xB1",
         "950 (from Language: zh_Hant)",
         "is 80 dialog units wide; its control IDC_LABEL_INSTALL_TO"},
        {"Language: ja",
         "ABC\xE3\x82\xA4\xE3\x83\xB3\xE3\x82\xB9\xE3\x83\x88\xE3\x83\xBC"
         "\xE3\x83\xAB\xE5\x85\x88",
         "ABC\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5B\x83\x8B\x90\xE6", "932 (from Language: ja)",
         "is 68 dialog units wide"},
        {"Language: pl\nContent-Type: text/plain; charset=ASCII",
         "\xC5\x82\xC3\xB3"
         "d\xC5\xBA",
         nullptr,
         "src.po:12: error: the header's charset is ASCII (msginit writes it where the machine "
         "lacks the locale), but the file holds other characters: save it as UTF-8 and set "
         "charset=UTF-8"},
        {"Language: cs\nContent-Type: text/plain; charset=CP1250", "\xC5\x82", nullptr,
         "error: this file looks like UTF-8; its header says CP1250"},
        {"Language: de\nX-Windows-Codepage: 65001", "x", nullptr,
         "X-Windows-Codepage \"65001\" is not a Windows ANSI code page: setup's tables are in "
         "one of 874, 932, 936, 949, 950 and 1250 to 1258"},
        {"X-Windows-Codepage: 437", "x", nullptr,
         "X-Windows-Codepage \"437\" is not a Windows ANSI code page"},
        {"Language: fil", "x", nullptr,
         "no Windows code page is known for Language \"fil\": add the header "
         "\"X-Windows-Codepage: 1252\", the first that holds every text of this file"},
        {"Language: xx", "\xD0\x9F", nullptr, "add the header \"X-Windows-Codepage: 1251\""},
        {"Language: en", "\xE3\x82\xA4\xE3\x83\xB3\xE5\x85\x88", nullptr,
         "warning: most characters code page 1252 cannot hold are letters of the script Kana: "
         "for text in it say Language: ja"},
        {"Language: en", "\xED\x95\x9C", nullptr, "say Language: ko"},
        // CP1251 bytes in a file whose header says UTF-8.
        {"Language: ru", "\xCF\xF3\xF2\xFC", nullptr,
         "src.po:12: error: the header says charset=UTF-8, but the file is not UTF-8 from here on: "
         "it is likely in a legacy code page; convert it (iconv -f CP1251 -t UTF-8"},
        {"Project-Id-Version: x", "x", nullptr, "the header names no Language"},
        {"Language: de\nX-Windows-Codepage: cp1250", "x", nullptr,
         "X-Windows-Codepage \"cp1250\" is not a Windows ANSI code page"},
        // Decomposed Vietnamese (e, dot below, circumflex) is composed first.
        {"Language: vi", "Vie\xCC\xA3\xCC\x82t", "Vi\xEA\xF2t", "1258 (from Language: vi)"},
        {"Language: zh", "x", nullptr,
         "the script decides the code page of Language \"zh\": say zh_CN or zh_Hans for "
         "Simplified (936), zh_TW or zh_Hant for Traditional (950)"},
        {"Language: zh.UTF-8", "x", nullptr, "say zh_CN or zh_Hans for Simplified"},
        {"Language: hi", "x", nullptr,
         "src.po: error: setup cannot show this language: Windows has no ANSI code page for its "
         "script"},
        {"Language: hy\nX-Windows-Codepage: 1252", "x", "x", "1252 (from X-Windows-Codepage)"},
        {"Language: sr", "Instaliraj u: \xC5\xA1", nullptr,
         "warning: most characters code page 1251 cannot hold are letters of the script Latn: "
         "for text in it say Language: sr_Latn (or sr@latin)"},
        {"Language: uz", "\xD0\x9F", nullptr, "say Language: uz_Cyrl (or uz@cyrillic)"},
        {"Language: de", "Ziel \xE2\x86\x92", nullptr,
         "TXT_INSTALL_TO (659): character 6, U+2192, is one that code page 1252 (from Language: "
         "de) cannot hold"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        RunResult built =
            Build(Source(Po(c.header, {{659, Translated(659, c.installTo)}})), Base());
        EXPECT_EQ(built.status, c.expected != nullptr ? 0 : 1) << built.err;
        if (c.expected == nullptr) {
            EXPECT_TRUE(Contains(built.err, c.result));
            EXPECT_EQ(Count(built.err, "error:"), 1u) << built.err;
            EXPECT_TRUE(NoTable(Base()));
            continue;
        }
        EXPECT_TRUE(Contains(built.out, std::string("code page ") + c.result));
        EXPECT_EQ(built.err.empty(), c.warning == nullptr) << built.err;
        EXPECT_TRUE(c.warning == nullptr || Contains(built.err, c.warning));
        EXPECT_EQ(TextOf(Base(), TXT_INSTALL_TO), c.expected);
        std::string number(c.result, strcspn(c.result, " "));
        RunResult dumped = Langtool({"dump", Base() + ".poo", "--codepage", number});
        EXPECT_TRUE(Contains(dumped.err, "read as code page " + number + " (from --codepage)"));
        ASSERT_EQ(Build(Source(dumped.out, "dumped.po"), Base("again")).status, 0) << dumped.out;
        EXPECT_EQ(ReadBytes(Base("again") + ".sif"), ReadBytes(Base() + ".sif"));
        EXPECT_EQ(ReadBytes(Base("again") + ".poo"), ReadBytes(Base() + ".poo"));
        std::filesystem::remove(Base() + ".sif");
        std::filesystem::remove(Base() + ".poo");
    }
}

// A language's script, else its region, chooses among its code pages.
TEST(LangtoolCodePages, TheLanguagesScriptOrRegionChoosesTheCodePage) {
    const struct {
        const char* language;
        unsigned codePage;
    } cases[] = {
        {"zh", 0},
        {"zh_Hant", 950},
        {"zh-Hant", 950},
        {"zh_TW", 950},
        {"zh_HK", 950},
        {"zh_MO", 950},
        {"zh_Hant_HK", 950},
        {"zh_Hans", 936},
        {"zh_CN", 936},
        {"zh_SG", 936},
        {"zh-Hans-HK", 936},
        {"zh_TW.UTF-8", 950},
        {"sr", 1251},
        {"sr_RS", 1251},
        {"sr_Latn", 1250},
        {"sr_Latn_RS", 1250},
        {"sr@latin", 1250},
        {"sr_RS@latin", 1250},
        {"sr_Cyrl", 1251},
        {"bs_Cyrl", 1251},
        {"uz@cyrillic", 1251},
        {"az", 1254},
        {"az_Latn", 1254},
        {"az_Cyrl", 1251},
        {"uz_Latn", 1254},
        {"uz_Cyrl_UZ", 1251},
        {"pt_BR", 1252},
        {"es-419", 1252},
        {"xx_Cyrl", 1251},
        {"xx_Latn", 0},
        {"xx", 0},
        {"", 0},
        {"zh@latin", 0},
        {"pa", 0},
        {"pa_PK", 1256},
        {"pa_Guru", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WindowsCodePage(c.language), c.codePage) << c.language;
    }
}

// One text's rules, run on scratch catalogue rows: control characters
// (line breaks only where the row's place is a message's body, whatever
// its name) and the English's placeholders.
TEST(LangtoolRules, EachTextKeepsItsEnglishsPlaceholdersAndNoControlCharacter) {
    const CatalogueText message = {"TXT_SCRATCH",  5000, kNoControl,           kInMessageBody,
                                   kNoAccelerator, 0,    "Needs %1 MB on %2.", "a message"};
    const CatalogueText caption = {"TXT_SCRATCH_TITLE", 5001, kNoControl, kOnOneLine,
                                   kNoAccelerator,      0,    "No Room",  "a window's title"};
    const CatalogueText button = {"TXT_SCRATCH_BUTTON", 5002, kControlOk, kOnButton,
                                  kNoAccelerator,       0,    "Go",       "a button"};
    const struct {
        const CatalogueText& row;
        std::string bytes;
        const char* error; // null: none
    } cases[] = {
        {message, "%2: %1 MB n\xF6tig.", nullptr},
        {message, "%1 MB,\n%1 MB, %2", nullptr},
        {message, "%1 MB n\xF6tig",
         "TXT_SCRATCH (5000) lacks %2: the English's placeholders are %1, %2"},
        {message, "%1 %2 %3", "(5000) has %3, which the English lacks: the English's"},
        {message, "%1 %3", "(5000) lacks %2 and has %3, which the English lacks"},
        {message, "100% %1%2", nullptr},
        {caption, "%1 fehlt",
         "(5001) has %1, which the English lacks: the English's placeholders "
         "are none"},
        {caption, "Kein\nPlatz", "TXT_SCRATCH_TITLE (5001) holds a line break; only a message's"},
        {button, "L\nos", "TXT_SCRATCH_BUTTON (5002) holds a line break"},
        {message, "%1\t%2",
         "TXT_SCRATCH (5000) holds the control character U+0009: none is "
         "allowed"},
        {message, std::string("%1 %2\0x", 6), "holds the control character U+0000"},
        {message, "%1 %2\r\n", "holds the control character U+000D"},
        {caption, "Platz\x7F", "holds the control character U+007F"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(EscapeText(c.bytes));
        char* printed = nullptr;
        size_t size = 0;
        FILE* out = open_memstream(&printed, &size);
        ASSERT_NE(out, nullptr);
        langtool::CReport report("scratch", out);
        langtool::CheckText(c.row, c.bytes, 1252, report);
        fclose(out);
        std::string said(printed, size);
        free(printed);
        EXPECT_EQ(report.Errors(), c.error != nullptr ? 1 : 0) << said;
        EXPECT_TRUE(c.error == nullptr || Contains(said, c.error));
    }
}

TEST_F(LangtoolTest, UnfinishedTextsAreWarningsAndWithReleaseErrors) {
    std::string source =
        Source(Po("Language: de", {{659, Translated(659, "")},
                                   {665, Translated(665, "Ordner", "#, fuzzy\n")},
                                   {669, "msgctxt \"TXT_INSTALL_DONE_CAPTION\"\nmsgid \"Done\"\n"
                                         "msgstr \"Fertig\"\n\n"}}));
    const char* said[] = {
        "TXT_INSTALL_TO (659) is not translated",
        "TXT_BROWSE_TITLE (665) is fuzzy: review it and remove its fuzzy mark",
        "TXT_INSTALL_DONE_CAPTION (669) was translated from \"Done\", the English is now "
        "\"Installation Complete\": merge the template (msgmerge)",
    };
    RunResult built = Build(source, Base());
    ASSERT_EQ(built.status, 0) << built.err;
    // One count of records for the language in every summary.
    const std::string records = " " + std::to_string(kTextCatalogueSize) + " records";
    EXPECT_TRUE(Contains(built.out, records));
    EXPECT_TRUE(Contains(Langtool({"check", Base()}).out, records));
    EXPECT_TRUE(Contains(Langtool({"dump", Base()}).err, records));
    for (const char* message : said) {
        EXPECT_TRUE(Contains(built.err, std::string("src.po: warning: ") + message));
    }
    EXPECT_TRUE(Contains(built.err, "(659) is not translated; the English is used"));
    EXPECT_EQ(TextOf(Base(), TXT_INSTALL_TO), "Install to:");
    EXPECT_EQ(TextOf(Base(), TXT_BROWSE_TITLE), FindCatalogueText(665)->english);
    EXPECT_EQ(TextOf(Base(), TXT_INSTALL_DONE_CAPTION), "Fertig");
    RunResult checked = Langtool({"check", source});
    EXPECT_EQ(checked.status, 0);
    EXPECT_TRUE(Contains(checked.out, "src.po: code page 1252 (from Language: de), " +
                                          std::to_string(kTextCatalogueSize) + " records, " +
                                          std::to_string(kTextCatalogueSize - 3) +
                                          " translated, 1 fuzzy, "
                                          "1 untranslated, 1 out of date: 0 errors, 3 warnings"));
    std::string upper = Source(ReadBytes(source), "src.PO"); // a PO file from Windows
    EXPECT_TRUE(Contains(Langtool({"check", upper}).out, "src.PO: code page 1252"));

    RunResult release = Build(source, Base("release"), "--release");
    EXPECT_EQ(release.status, 1);
    for (const char* message : said) {
        EXPECT_TRUE(Contains(release.err, std::string("src.po: error: ") + message));
    }
    EXPECT_TRUE(NoTable(Base("release")));
    EXPECT_EQ(Langtool({"check", source, "--release"}).status, 1);
}

// A source's errors say which file and text; none writes a table.
TEST_F(LangtoolTest, TheCatalogueAndTheFileDecideInBuildAndCheck) {
    const std::string twice = "msgctxt \"TXT_INSTALL_TO\"\nmsgid \"x\"\nmsgstr \"b\"\n\n";
    const struct {
        const char* what;
        int index;         // of the text whose entry `entry` replaces
        std::string entry; // the entry or entries instead
        int status;
        const char* message; // null: no message at all
    } cases[] = {
        {"missing", 659, "", 1, "src.po: error: TXT_INSTALL_TO (659) is missing"},
        {"long browse caption", 787, Translated(787, std::string(128, 'c')), 1,
         "TXT_BROWSE_CAPTION (787) has 128 bytes; setup keeps at most 127"},
        {"no accelerator", 661, Translated(661, "A&&B"), 1, "(661) has 0 accelerators"},
        {"two accelerators", 661, Translated(661, "&Br&owse"), 1, "(661) has 2 accelerators"},
        {"shared accelerator", 661, Translated(661, "&install"), 1,
         "TXT_INSTALL (662) has the accelerator 'I' of TXT_BROWSE (661)"},
        {"'& ' marks no key", 661, Translated(661, "&Suchen & &mehr"), 1,
         "(661) has 2 accelerators"},
        {"tab", 659, Translated(659, "Ziel:\\t"), 1,
         "src.po: error: TXT_INSTALL_TO (659) holds the control character U+0009"},
        {"line break on a button", 662, Translated(662, "&Los\\ngeht's"), 1,
         "TXT_INSTALL (662) holds a line break; only a message's text may"},
        {"line break in the progress window's title", 802, Translated(802, "Kopiere\\nDateien"), 1,
         "TXT_COPY_TITLE (802) holds a line break"},
        {"line break in the folder picker's line", 665, Translated(665, "Ordner\\nw\xC3\xA4hlen"),
         1, "TXT_BROWSE_TITLE (665) holds a line break"},
        {"NUL escape", 659, Translated(659, "Zi\\0el"), 1,
         "src.po:12: error: a \"\\0\" escape puts a NUL into the text, which ends it there"},
        {"given twice", 659, Translated(659, "a") + twice, 1, "TXT_INSTALL_TO is given twice"},
        {"given twice alike", 659, Translated(659, "a") + Translated(659, "a"), 1,
         "src.po:15: error: duplicate message definition"},
        {"syntax", 659, "msgctxt \"TXT_INSTALL_TO\"\nmsgid \"Install to:\"\nmsgstr x\n\n", 1,
         "src.po:12: error: syntax error"},
        {"unknown text", 659,
         Translated(659, "Ziel:") + "msgctxt \"TXT_TYPO\"\nmsgid \"Typo\"\n"
                                    "msgstr \"T\"\n\n",
         0, "msgctxt \"TXT_TYPO\" msgid \"Typo\" is not a text setup reads; left out"},
        {"wide label", 659, Translated(659, "Installationsordner w\xC3\xA4hlen:"), 0,
         "TXT_INSTALL_TO (659) \"Installationsordner w\xC3\xA4hlen:\" is 84 dialog units wide; "
         "its control IDC_LABEL_INSTALL_TO has room for 59"},
        {"wide button", 662, Translated(662, "&Installation jetzt sofort starten"), 0,
         "wide; its control IDOK has room for 76 (about 19 Latin letters), so it is cut"},
        {"wide caption", 658, Translated(658, std::string(40, 'W')), 0,
         "(658) \"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW\" is 320 dialog units wide; the title "
         "bar has room for"},
        {"folder picker's line in three lines", 665,
         Translated(665, "W\xC3\xA4hlen Sie den Ordner, in den The Vellmor installiert werden "
                         "soll. Sie k\xC3\xB6nnen ihn sp\xC3\xA4ter nicht mehr verschieben, "
                         "ohne das Spiel neu zu installieren."),
         0, nullptr},
        {"folder picker's line in four lines", 665,
         Translated(665, "W\xC3\xA4hlen Sie den Ordner, in den The Vellmor installiert werden "
                         "soll. Sie k\xC3\xB6nnen ihn sp\xC3\xA4ter nicht mehr verschieben, "
                         "ohne das Spiel neu zu installieren, und der Ordner braucht Platz."),
         0, "takes 4 lines of 180 dialog units; the folder picker shows 3, so it is cut"},
        {"folder picker's line of one long word", 665, Translated(665, std::string(200, 'W')), 0,
         "takes 9 lines"},
        {"byte order mark", 0, "\xEF\xBB\xBF", 1,
         "src.po:1: error: the file starts with a byte order mark"},
        {"the game's own text", 659,
         Translated(659, "Ziel:") + "msgctxt \"GAME_700\"\nmsgid \"Spiel\"\nmsgstr \"\"\n\n", 0,
         nullptr},
        {"setup's text as the game's", 659,
         Translated(659, "Ziel:") + "msgctxt \"GAME_788\"\nmsgid \"x\"\nmsgstr \"x\"\n\n", 1,
         "GAME_788: record 788 is not the game's own: setup reads it"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string po = Po("Language: de", {{c.index, c.entry}});
        std::string source = Source(c.index != 0 ? po : c.entry + po);
        RunResult built = Build(source, Base());
        EXPECT_EQ(built.status, c.status) << built.err;
        EXPECT_TRUE(c.message != nullptr ? Contains(built.err, c.message) : built.err.empty())
            << built.err;
        EXPECT_EQ(Exists(Base() + ".sif"), c.status == 0);
        RunResult checked = Langtool({"check", source});
        EXPECT_EQ(checked.status, c.status);
        EXPECT_TRUE(c.message == nullptr || Contains(checked.out, c.message));
        std::filesystem::remove(Base() + ".sif");
    }
    RunResult absent = Build(m_dir.File("absent.po"), Base());
    EXPECT_EQ(absent.status, 1);
    EXPECT_TRUE(Contains(absent.err, "absent.po: error: cannot read it: No such file"));
}

// -o makes its folder; a name setup could not list is refused. A failure
// to write or to replace either file leaves the previous pair as it was and
// no temporary file beside it.
TEST_F(LangtoolTest, AFailedWriteKeepsThePreviousTable) {
    ASSERT_EQ(Build(Source(Po("Language: de", {})), Base()).status, 0);
    std::string previous = ReadBytes(Base() + ".poo");
    std::string changed = Source(Po("Language: de", {{659, Translated(659, "Ziel:")}}));
    ASSERT_EQ(Build(changed, m_dir.File("made/new/Deutsch 2-b_c")).status, 0);
    EXPECT_EQ(TextOf(m_dir.File("made/new/Deutsch 2-b_c"), TXT_INSTALL_TO), "Ziel:");
    std::filesystem::remove_all(m_dir.File("made"));
    for (const char* name : {"Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t", "de.old", ""}) {
        RunResult refused = Build(changed, m_dir.File(name));
        EXPECT_EQ(refused.status, 1) << name;
        EXPECT_TRUE(Contains(refused.err, std::string("langtool: \"") + name +
                                              "\" cannot name a language: its file name may hold "
                                              "only ASCII letters, digits, spaces, '-' and '_'"))
            << refused.err;
    }
    RunResult named = Langtool({"check", Source(ReadBytes(changed), "Espa\xC3\xB1ol.po")});
    EXPECT_EQ(named.status, 1);
    EXPECT_TRUE(Contains(named.out, "error: \"Espa\xC3\xB1ol\" cannot name a language"));
    RunResult po = Build(changed, m_dir.File("out/Nihongo.po"));
    EXPECT_EQ(po.status, 2);
    EXPECT_EQ(po.err, "langtool: -o " + m_dir.File("out/Nihongo.po") +
                          " names a PO file: -o wants the table's base name, without an ending "
                          "(-o " +
                          m_dir.File("out/Nihongo") + " writes " + m_dir.File("out/Nihongo") +
                          ".sif and .poo)\n");
    RunResult blocked = Build(changed, m_dir.File("src.po/lang"));
    EXPECT_EQ(blocked.status, 1);
    EXPECT_TRUE(Contains(blocked.err, "cannot make the folder " + m_dir.File("src.po")));

    ASSERT_TRUE(std::filesystem::remove(Base() + ".sif"));
    ASSERT_TRUE(std::filesystem::create_directory(Base() + ".sif"));
    RunResult replaced = Build(changed, Base());
    EXPECT_EQ(replaced.status, 1);
    EXPECT_TRUE(Contains(replaced.err, "cannot replace " + Base() + ".sif: Is a directory"));
    EXPECT_EQ(ReadBytes(Base() + ".poo"), previous);
    std::filesystem::directory_iterator left(m_dir.Path());
    EXPECT_EQ(std::distance(begin(left), end(left)), 5)
        << "beside lang.sif, lang.poo, src.po, Español.po and the setup pair's Setup";
}

// Dump and check name what makes a table unreadable in one line.
TEST_F(LangtoolTest, DamagedTablesFailWithOneLine) {
    const struct {
        const char* what;
        const char* file; // cut to `size` bytes, or removed with -1
        long size;
        std::string message;
    } cases[] = {
        {"no index", ".sif", -1, "cannot read BASE.sif: No such file or directory"},
        {"no pool", ".poo", -1, "cannot read BASE.poo: No such file or directory"},
        {"empty index", ".sif", 0, "BASE.sif is empty"},
        {"odd index", ".sif", 6307,
         "BASE.sif is cut off: 6307 bytes are no whole number of "
         "8-byte records"},
        {"short index", ".sif", 700 * 8,
         "BASE.sif is cut off: 700 records, where every table has at least 789"},
        {"cut in the dialog's block", ".sif", 788 * 8,
         "BASE.sif is cut off: 788 records, where every table has at least 789"},
        {"short pool", ".poo", 100, "BASE.poo is cut off: 100 bytes, record "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(Build(Source(Po("Language: de", {})), Base()).status, 0);
        std::string path = Base() + c.file;
        if (c.size < 0) {
            remove(path.c_str());
        } else {
            std::filesystem::resize_file(path, c.size);
        }
        std::string message = c.message;
        message.replace(message.find("BASE"), 4, Base());
        for (const char* command : {"dump", "check"}) {
            RunResult run = Langtool({command, Base()});
            EXPECT_EQ(run.status, 1) << command;
            EXPECT_EQ(run.out, "") << command;
            EXPECT_EQ(run.err.find("langtool: " + message), 0u) << command << ": " << run.err;
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        }
    }
}

// build writes the game's table and setup's pair beside it; check and dump
// read the messages from that pair, never from the game's table, whatever it
// holds past 788, and keep the game's own texts: a dump builds into the same
// game's table. Without the pair the messages are untranslated, said once,
// and the code page must be given.
TEST_F(LangtoolTest, TheMessagesComeFromTheSetupPairBesideTheTable) {
    const int messages =
        (int)std::count_if(std::begin(kTextCatalogue), std::end(kTextCatalogue),
                           [](const CatalogueText& text) { return InSetupPair(text.index); });
    const struct {
        const char* what;
        bool gameTexts; // the game's own texts up to record 1,499
        bool pair;
        int untranslated;
    } cases[] = {{"as built", false, true, 0},
                 {"the game's texts past 788", true, true, 0},
                 {"no setup pair", true, false, messages}};
    const std::string german = "Bitte legen Sie die CD ein";
    std::string source = Source(Po("Language: de", {{TXT_INSTALL_TO, Translated(659, "Ziel:")},
                                                    {TXT_NO_MEDIUM, Translated(800, german)}}));
    const std::string pair = m_dir.File("Setup/lang");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(Build(source, Base()).status, 0);
        EXPECT_EQ(ReadBytes(Base() + ".sif").size(), 789u * 8);
        EXPECT_EQ(TextOf(pair, text::kSetupMarkerRecord), text::kSetupPairMarker);
        EXPECT_EQ(TextOf(pair, text::kSetupDirectionRecord), "ltr");
        EXPECT_EQ(TextOf(pair, text::kSetupCodePageRecord), "1252");
        EXPECT_EQ(TextOf(pair, TXT_NO_MEDIUM), german);
        EXPECT_EQ(Langtool({"check", pair}).err,
                  "langtool: " + pair +
                      " is setup's own pair: give the game's table, whose "
                      "folder holds Setup\n");
        if (c.gameTexts) {
            std::string pool = ReadBytes(Base() + ".poo");
            std::string index = ReadBytes(Base() + ".sif");
            unsigned char record[text::kRecordSize];
            text::EncodeRecord({(uint32_t)pool.size(), 10}, record);
            for (int i = 789; i < 1500; ++i) {
                index.append((const char*)record, sizeof record);
            }
            text::EncodeRecord({(uint32_t)pool.size() + 10, 6}, record);
            index.replace(5 * 8, 8, (const char*)record, sizeof record);
            ASSERT_TRUE(WriteBytes(Base() + ".poo", pool + std::string("Spieltext\0Menue", 16)));
            ASSERT_TRUE(WriteBytes(Base() + ".sif", index));
        }
        if (!c.pair) {
            std::filesystem::remove(pair + ".sif");
            RunResult guessed = Langtool({"dump", Base()});
            EXPECT_EQ(guessed.status, 1);
            EXPECT_EQ(guessed.err, "langtool: " + Base() +
                                       ": no setup pair beside it names its code page, and "
                                       "langtool does not guess: give --codepage N, the ANSI "
                                       "code page of its language's Windows (874, 932, 936, 949, "
                                       "950 and 1250 to 1258)\n");
        }
        RunResult checked = Langtool({"check", Base(), "--codepage", "1252"});
        EXPECT_EQ(checked.status, 0) << checked.out;
        EXPECT_TRUE(Contains(checked.out, std::to_string(c.untranslated) + " untranslated: 0 " +
                                              "errors, " + (c.pair ? "0" : "1") + " warnings"));
        std::string once = "warning: no setup pair beside it (" + pair + ".sif): setup shows its " +
                           std::to_string(messages) +
                           " messages in English; build the language "
                           "again from its PO file with langtool build, which writes the pair\n";
        EXPECT_EQ(Count(checked.out, once), c.pair ? 0u : 1u) << checked.out;

        RunResult dumped = Langtool({"dump", Base(), "--codepage", "1252"});
        ASSERT_EQ(dumped.status, 0) << dumped.err;
        EXPECT_EQ(Count(dumped.err, once), c.pair ? 0u : 1u) << dumped.err;
        EXPECT_TRUE(Contains(dumped.out, Translated(TXT_INSTALL_TO, "Ziel:")));
        EXPECT_TRUE(Contains(dumped.out, Translated(TXT_NO_MEDIUM, c.pair ? german : "")));
        EXPECT_EQ(Count(dumped.out, "msgid \"Spieltext\"\nmsgstr \"Spieltext\""),
                  c.gameTexts ? 711u : 0u);
        EXPECT_TRUE(Contains(
            dumped.err,
            ": read as code page 1252 (from --codepage), " +
                std::to_string((c.pair ? kTextCatalogueSize : kTextCatalogueSize - messages) +
                               (c.gameTexts ? 712 : 0)) +
                " records"))
            << dumped.err;
        std::string again = Source(dumped.out, "dumped.po");
        EXPECT_EQ(Build(again, Base("again"), "--release").status, c.untranslated > 0 ? 1 : 0);
        RunResult rebuilt = Build(again, Base("again"));
        ASSERT_EQ(rebuilt.status, 0) << rebuilt.err;
        for (int index : {5, 800, 1499, (int)TXT_INSTALL_TO}) {
            EXPECT_EQ(TextOf(Base("again"), index), TextOf(Base(), index)) << index;
        }
        EXPECT_EQ(TextOf(m_dir.File("Setup/again"), TXT_NO_MEDIUM),
                  c.pair ? german : FindCatalogueText(TXT_NO_MEDIUM)->english);
        // A game's existing table beside a translator's PO file.
        ASSERT_EQ(Langtool({"build", source, "-o", Base("merged"), "--game", Base()}).status, 0);
        EXPECT_EQ(TextOf(Base("merged"), 1499),
                  c.gameTexts ? std::optional<std::string>("Spieltext") : std::nullopt);
        EXPECT_EQ(TextOf(Base("merged"), 5).value_or(""), c.gameTexts ? "Menue" : "");
    }
}

// The setup pair says right to left for Hebrew's and Arabic's code pages,
// or as X-Text-Direction says.
TEST_F(LangtoolTest, TheSetupPairSaysWhichWayTheLanguageReads) {
    const struct {
        const char* header;
        const char* direction; // null: refused
    } cases[] = {
        {"Language: he", "rtl"},
        {"Language: ar", "rtl"},
        {"Language: fa", "rtl"},
        {"Language: de", "ltr"},
        {"Language: de\nX-Text-Direction: rtl", "rtl"},
        {"Language: he\nX-Text-Direction: ltr", "ltr"},
        {"Language: de\nX-Text-Direction: RTL", "rtl"},
        {"Language: he\nX-Text-Direction: up", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        RunResult built = Build(Source(Po(c.header, {})), Base());
        EXPECT_EQ(built.status, c.direction ? 0 : 1) << built.err;
        if (c.direction) {
            EXPECT_EQ(TextOf(m_dir.File("Setup/lang"), text::kSetupDirectionRecord), c.direction);
            EXPECT_TRUE(Contains(
                built.out, std::string(c.direction[0] == 'r' ? "right to left" : "left to right")));
        } else {
            EXPECT_TRUE(Contains(built.err, "X-Text-Direction \"up\" is neither \"rtl\" nor "
                                            "\"ltr\""));
        }
    }
    // Each line of a message that starts left to right gets the mark (0xFE);
    // a dump leaves it out, and building the dump gives the same bytes.
    const struct {
        int index;
        const char* translated; // UTF-8
        const char* bytes;      // in code page 1255
    } marks[] = {
        {TXT_NO_MEDIUM, "The Vellmor \xD7\xA9", "\xFEThe Vellmor \xF9"},
        {TXT_UNINSTALL_DONE, "\xD7\xA9 The Vellmor", "\xF9 The Vellmor"},
        {TXT_LINK_REFUSED, "%1 \xD7\xA9\\nC:\\\\Games\\n\xD7\xA9",
         "\xFE%1 \xF9\n\xFE"
         "C:\\Games\n\xF9"},
        {TXT_NO_MEDIUM_CAPTION, "Vellmor", "Vellmor"}, // a caption is no message's text
    };
    std::map<int, std::string> changes;
    for (const auto& mark : marks) {
        changes[mark.index] = Translated(mark.index, mark.translated);
    }
    ASSERT_EQ(Build(Source(Po("Language: he", changes)), Base()).status, 0);
    RunResult dumped = Langtool({"dump", Base()});
    EXPECT_TRUE(Contains(dumped.err, "read as code page 1255 (from its setup pair)"));
    ASSERT_EQ(Build(Source(dumped.out, "dumped.po"), Base("again")).status, 0) << dumped.out;
    for (const auto& mark : marks) {
        SCOPED_TRACE(mark.index);
        EXPECT_EQ(TextOf(m_dir.File("Setup/lang"), mark.index)
                      .value_or(TextOf(Base(), mark.index).value_or("")),
                  mark.bytes);
    }
    EXPECT_EQ(ReadBytes(m_dir.File("Setup/again.poo")), ReadBytes(m_dir.File("Setup/lang.poo")));
}

TEST_F(LangtoolTest, CheckReportsTheProblemsOfATable) {
    std::string caption(128, 'c');
    const std::map<int, const char*> changes = {
        {TXT_BROWSE, "&\xDC"}, // one key with TXT_INSTALL's: Ü
        {TXT_INSTALL, "&\xFC"},
        {TXT_BROWSE_TITLE, ""},
        {TXT_BROWSE_CAPTION, caption.c_str()},
    };
    std::vector<LanguageText> texts, messages = {{0, text::kSetupPairMarker}, {1, "ltr"}};
    for (const CatalogueText& text : kTextCatalogue) {
        auto change = changes.find(text.index);
        (InSetupPair(text.index) ? messages : texts)
            .push_back({text.index, change != changes.end() ? change->second : text.english});
    }
    messages.push_back({900, "stray"});
    ASSERT_TRUE(WriteLanguageTable(Base().c_str(), texts.data(), texts.size()));
    std::filesystem::create_directory(m_dir.File("Setup"));
    ASSERT_TRUE(
        WriteLanguageTable(m_dir.File("Setup/lang").c_str(), messages.data(), messages.size()));
    // Record 5 of length 0, record 7 past 2^31.
    std::string index = ReadBytes(Base() + ".sif");
    index.replace(5 * 8 + 4, 4, std::string(4, '\0'));
    index.replace(7 * 8, 4, "\0\0\0\x80", 4);
    ASSERT_TRUE(WriteBytes(Base() + ".sif", index));
    RunResult checked = Langtool({"check", Base(), "--codepage", "1252"});
    EXPECT_EQ(checked.status, 1);
    for (const char* message :
         {"error: TXT_BROWSE_TITLE (665) is empty", "error: TXT_BROWSE_CAPTION (787) has 128 bytes",
          "error: record 5 (offset 5, length 0): length 0",
          "record 7 (offset 2147483648, length 1)", "warning: index 900 is not a text setup reads",
          "TXT_INSTALL (662) has the accelerator '\xC3\xBC' of TXT_BROWSE (661)",
          "5 errors, 1 warnings"}) {
        EXPECT_TRUE(Contains(checked.out, message));
    }
    // Every catalogue text but the empty one, and the stray record 900.
    EXPECT_TRUE(Contains(checked.out, ": code page 1252 (from --codepage), " +
                                          std::to_string(kTextCatalogueSize) + " records"));
}

// The translator's round: the template, a translation, a changed English,
// msgmerge; the translation is kept, fuzzy, and no longer passes a release.
TEST_F(LangtoolTest, MsgmergeKeepsATranslationAndMarksItFuzzy) {
    std::string pot = m_dir.File("setup.pot");
    std::string templateText = Langtool({"pot"}).out;
    EXPECT_TRUE(Contains(templateText, "#. The label beside the folder to install into. Room: 59 "
                                       "dialog units, about 14 Latin letters, 12 Cyrillic or "
                                       "Greek or 7 CJK characters of the dialog font.\n"
                                       "msgctxt \"TXT_INSTALL_TO\"\nmsgid \"Install to:\"\n"
                                       "msgstr \"\"\n"));
    EXPECT_TRUE(Contains(templateText, "the megabytes free.\n#, qt-format\n"
                                       "msgctxt \"TXT_NO_ROOM_QUESTION\"\n"));
    const auto withInserts = std::count_if(
        std::begin(kTextCatalogue), std::end(kTextCatalogue),
        [](const CatalogueText& text) { return strstr(text.english, "%1") != nullptr; });
    EXPECT_EQ(Count(templateText, "#, qt-format\n"), (size_t)withInserts);
    EXPECT_TRUE(Contains(templateText, "calls a setup program. \"CD ROM\" is the system's own: "
                                       "use the word your language's Windows uses for the "
                                       "drive.\nmsgctxt \"TXT_NO_MEDIUM\""));
    EXPECT_TRUE(Contains(templateText, "Choose No to install it"));
    EXPECT_EQ(Count(templateText, "\"No\" is the system's button"), 1u);
    // msgfmt checks the placeholders too, through the flag.
    std::string wrong = m_dir.File("wrong.po");
    ASSERT_TRUE(WriteBytes(
        wrong, Po("Language: de",
                  {{TXT_NO_ROOM_QUESTION,
                    "#, qt-format\n" + Translated(TXT_NO_ROOM_QUESTION, "Es fehlen %1 MB.")}})));
    std::string msgfmt = "msgfmt --check -o /dev/null " + wrong + " 2>/dev/null";
    EXPECT_NE(system(msgfmt.c_str()), 0) << msgfmt;
    std::string polski =
        Source(Po("Language: pl", {{659, Translated(659, "Zainstaluj w:")}}), "Polski.po");
    size_t at = templateText.find("msgid \"Install to:\"");
    ASSERT_TRUE(WriteBytes(pot, templateText.replace(at, 19, "msgid \"Install into:\"")));
    std::string merge = "msgmerge --quiet --update --previous --backup=off " + polski + " " + pot;
    ASSERT_EQ(system(merge.c_str()), 0) << merge;

    EXPECT_TRUE(Contains(ReadBytes(polski),
                         "#, fuzzy\n#| msgctxt \"TXT_INSTALL_TO\"\n#| msgid \"Install to:\"\n"
                         "msgctxt \"TXT_INSTALL_TO\"\nmsgid \"Install into:\"\n"
                         "msgstr \"Zainstaluj w:\"\n"));
    RunResult checked = Langtool({"check", polski, "--release"});
    EXPECT_EQ(checked.status, 1);
    EXPECT_TRUE(Contains(checked.out, "error: TXT_INSTALL_TO (659) is fuzzy"));
    EXPECT_TRUE(
        Contains(checked.out, std::to_string(kTextCatalogueSize - 1) + " translated, 1 fuzzy"));
}

TEST_F(LangtoolTest, UsageErrorsExitWithTwoAndHelpWithZero) {
    for (const char* line :
         {"", "translate x", "build src.po", "build src.po -o", "dump", "dump a b",
          "dump a --codepage abc", "dump a --codepage -5", "dump a --codepage 65001",
          "check a --codepage 437", "check a --verbose", "check a --release",
          "check a.po --codepage 1252", "build a.po -o b --codepage 1252", "pot -o x",
          "catalogue x", "update --master m.txt a.txt", "status a.txt"}) {
        SCOPED_TRACE(line);
        std::vector<std::string> args;
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            args.push_back(word);
        }
        RunResult run = Langtool(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(Contains(run.err, "usage:"));
    }
    RunResult help = Langtool({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(
        Contains(help.out, "usage: langtool build LANG.po -o BASE [--game TABLE] [--release]"));
}

} // namespace
