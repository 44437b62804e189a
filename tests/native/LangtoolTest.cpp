// langtool's commands, run in-process: round trips through build and dump,
// the build errors, and check on sound and broken tables.

#include <stdio.h>
#include <stdlib.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Langtool.h"
#include "ScratchTables.h"
#include "text/LanguageTable.h"
#include "text/LanguageWriter.h"
#include "text/TextCatalogue.h"

namespace {

using namespace std::string_literals;

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

// A source with every catalogue text, the browse caption of `captionLength`;
// the buttons carry the accelerators b, i and x.
std::string CatalogueSource(size_t captionLength = 20) {
    std::string source = "661\t&Browse\n662\t&Install\n664\tE&xit\n";
    for (int index : {658, 659, 665, 668, 669, 785, 786, 788}) {
        source += std::to_string(index) + "\tText " + std::to_string(index) + "\n";
    }
    return source + "787\t" + std::string(captionLength, 'c') + "\n";
}

// `source` with the line of `index` replaced by `line` (removed when empty).
std::string Replace(std::string source, int index, const std::string& line) {
    size_t start = source.find(std::to_string(index) + "\t");
    size_t end = source.find('\n', start) + 1;
    return source.replace(start, end - start, line.empty() ? "" : line + "\n");
}

class LangtoolTest : public ScratchTablesTest {
  protected:
    std::string Source(const std::string& text, const char* name = "src.txt") {
        std::string path = m_dir.File(name);
        EXPECT_TRUE(WriteBytes(path, text));
        return path;
    }
    RunResult Build(const std::string& source, const std::string& base) {
        return Langtool({"build", source, "-o", base});
    }
    // Builds `dumped` (as dumped.txt) and expects the table at `base` again.
    void ExpectRebuildsTheSame(const std::string& dumped, const std::string& base) {
        std::string again = Base("again");
        ASSERT_EQ(Build(Source(dumped, "dumped.txt"), again).status, 0);
        EXPECT_EQ(ReadBytes(again + ".sif"), ReadBytes(base + ".sif"));
        EXPECT_EQ(ReadBytes(again + ".poo"), ReadBytes(base + ".poo"));
    }
    // The text of `index` in the table at `base`.
    static std::optional<std::string> TextOf(const std::string& base, int index) {
        CLanguageTable table;
        table.Load(base.c_str());
        return TextAt(table, index);
    }
};

TEST_F(LangtoolTest, BuildConvertsToTheCodePageAndDumpRoundTrips) {
    std::string source = "\xEF\xBB\xBF# German texts\r\n"
                         "658\t\xC3\x9C"
                         "berschrift: Gr\xC3\xB6\xC3\x9F"
                         "e \xE2\x82\xAC\r\n"
                         "\n   \n"
                         "660\tTab\\there, line\\nbreak, cr\\r, back\\\\slash\n"
                         "800\t\n" +
                         Replace(CatalogueSource(), 658, "") + "790\t  spaces kept  ";
    std::string base = Base();
    RunResult built = Build(Source(source), base);
    ASSERT_EQ(built.status, 0) << built.err;

    EXPECT_EQ(TextOf(base, 658), "\xDC"
                                 "berschrift: Gr\xF6\xDF"
                                 "e \x80");
    EXPECT_EQ(TextOf(base, 660), "Tab\there, line\nbreak, cr\r, back\\slash");
    EXPECT_EQ(TextOf(base, 800), "");
    EXPECT_EQ(TextOf(base, 790), "  spaces kept  ");

    RunResult dumped = Langtool({"dump", base});
    ASSERT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_EQ(0u, dumped.out.find("# codepage: 1252\n"
                                  "# 801 records; indexes not listed hold empty texts\n"
                                  "658\t\xC3\x9C"
                                  "berschrift: Gr\xC3\xB6\xC3\x9F"
                                  "e \xE2\x82\xAC\n"
                                  "659\tText 659\n"
                                  "660\tTab\\there, line\\nbreak, cr\\r, back\\\\slash\n"
                                  "661\t&Browse\n662\t&Install\n664\tE&xit\n"
                                  "665\tText 665\n"))
        << dumped.out;
    EXPECT_TRUE(Contains(dumped.out, "790\t  spaces kept  \n800\t\n"));

    ExpectRebuildsTheSame(dumped.out, base);
}

TEST_F(LangtoolTest, TheSourcesCodePageRoundTripsThroughDump) {
    std::string base = Base();
    std::string russian = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"; // "Privet"
    std::string source = "# codepage: 1251\n" + Replace(CatalogueSource(), 659, "659\t" + russian);
    RunResult built = Langtool({"build", Source(source), "-o", base + ".sif"});
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_TRUE(Contains(built.out, "code page 1251"));
    EXPECT_EQ(TextOf(base, 659), "\xCF\xF0\xE8\xE2\xE5\xF2");
    RunResult dumped = Langtool({"dump", base + ".poo", "--codepage", "1251"});
    EXPECT_EQ(dumped.out.substr(0, 17), "# codepage: 1251\n");
    EXPECT_TRUE(Contains(dumped.out, "659\t" + russian + "\n"));
    ExpectRebuildsTheSame(dumped.out, base);
    EXPECT_EQ(Langtool({"codepage", m_dir.File("dumped.txt")}).out, "1251\n");
}

TEST_F(LangtoolTest, GapsAreNotWarnedAboutButTextsSetupNeverReadsAre) {
    RunResult built = Build(Source(CatalogueSource() + "7888\tTypo\n12\tx\n"), Base());
    EXPECT_EQ(built.status, 0) << built.err;
    EXPECT_TRUE(Contains(built.err, ":13: warning: index 7888 is not a text setup reads"));
    EXPECT_TRUE(Contains(built.err, ":14: warning: index 12 is not"));
    EXPECT_FALSE(Contains(built.err, "below the highest"));
    EXPECT_EQ(TextOf(Base(), 5), "");
    RunResult checked = Langtool({"check", Base()});
    EXPECT_TRUE(Contains(checked.out, "warning: index 7888 is not a text setup reads"));
    EXPECT_TRUE(Contains(checked.out, "0 errors, 2 warnings"));
}

TEST_F(LangtoolTest, AFailedBuildKeepsThePreviousTableAndWriteErrorsSayWhy) {
    ASSERT_EQ(Build(Source(CatalogueSource()), Base()).status, 0);
    std::string previous = ReadBytes(Base() + ".poo");
    EXPECT_EQ(Build(Source(Replace(CatalogueSource(), 659, "")), Base()).status, 1);
    EXPECT_EQ(ReadBytes(Base() + ".poo"), previous);
    RunResult built = Build(Source(CatalogueSource()), m_dir.File("absent/lang"));
    EXPECT_EQ(built.status, 1);
    EXPECT_TRUE(Contains(built.err, "absent/lang.sif: No such file or directory"));
    EXPECT_FALSE(Exists(m_dir.File("absent")));
}

TEST_F(LangtoolTest, UsageErrorsExitWithTwo) {
    for (const char* line :
         {"", "translate x", "build src.txt", "build src.txt -o", "dump", "dump a b",
          "dump a --codepage abc", "dump a --codepage -5", "check a --verbose", "status a.txt",
          "update --master m.txt a.txt b.txt", "codepage a.txt --codepage 1252"}) {
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
}

TEST_F(LangtoolTest, DumpReportsMissingTablesAndUnreadableRecords) {
    RunResult missing = Langtool({"dump", Base("absent")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(Contains(missing.err, "cannot open"));

    TextIndexEntry records[] = {{0, 2}, {0, 9}};
    ASSERT_TRUE(WriteRawLanguageTable(Base().c_str(), records, 2, "a", 2));
    RunResult broken = Langtool({"dump", Base()});
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(Contains(broken.out, "0\ta\n"));
    EXPECT_TRUE(Contains(broken.err, "record 1 has no readable text"));
}

struct CatalogueCase {
    const char* what;
    std::string source;
    int status; // of build
    const char* message;
};

// Build and check share these rules: each case's message comes from both.
TEST_F(LangtoolTest, TheCatalogueDecidesInBuildAndCheck) {
    std::string all = CatalogueSource();
    const CatalogueCase cases[] = {
        {"missing", Replace(all, 659, ""), 1, "error: TXT_INSTALL_TO (659) is missing"},
        {"empty", Replace(all, 659, "659\t"), 1, ":5: error: TXT_INSTALL_TO (659) is empty"},
        {"long browse caption", CatalogueSource(128), 1, "(787) has 128 characters"},
        {"no accelerator", Replace(all, 661, "661\tA&&B"), 1, "(661) has 0 accelerators"},
        {"two accelerators", Replace(all, 661, "661\t&Br&owse"), 1, "(661) has 2 accelerators"},
        {"shared accelerator", Replace(all, 661, "661\t&install"), 1,
         "TXT_INSTALL (662) has the accelerator of TXT_BROWSE (661)"},
        {"shared accented accelerator",
         Replace(Replace(all, 661, "661\t&\xC3\x9C"), 662, "662\t&\xC3\xBC"), 1,
         "TXT_INSTALL (662) has the accelerator"},
        {"wide label", Replace(all, 659, "659\tInstallationsordner w\xC3\xA4hlen:"), 0,
         "TXT_INSTALL_TO (659) \"Installationsordner w\xC3\xA4hlen:\" is 84 dialog units wide; "
         "its control IDC_LABEL_INSTALL_TO has room for 59"},
        {"wide button", Replace(all, 662, "662\t&Installation jetzt sofort starten"), 0,
         "wide; its control IDOK has room for 76, so it is cut"},
        {"wide caption", Replace(all, 658, "658\t" + std::string(40, 'W')), 0,
         "(658) \"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW\" is 320 dialog units wide; the title "
         "bar has room for"},
        {"unmeasured code page", "# codepage: 1255\n" + all, 0,
         "no font widths for code page 1255"},
    };
    for (const CatalogueCase& c : cases) {
        SCOPED_TRACE(c.what);
        RunResult built = Build(Source(c.source), Base());
        EXPECT_EQ(built.status, c.status) << built.err;
        EXPECT_TRUE(Contains(built.err, c.message));
        if (c.status == 0) {
            RunResult checked =
                Langtool({"check", Base(), "--codepage", c.source[0] == '#' ? "1255" : "1252"});
            EXPECT_EQ(checked.status, 0);
            EXPECT_TRUE(Contains(checked.out, c.message));
        }
    }
}

// A source's errors are named by file and line, those of the whole source or
// of the command line by file; none writes a table.
TEST_F(LangtoolTest, BuildErrorsAreNamedAndWriteNothing) {
    auto line3 = [](const std::string& line) {
        return "1\tfirst\n# comment\n" + line + "\n4\tlast\n";
    };
    const struct {
        std::optional<std::string> source; // none: the source does not exist
        const char* codepage;              // null: none given
        std::string message;
    } cases[] = {
        {line3("12 text"), nullptr,
         "src.txt:3: error: expected a decimal index, a tab and the text"},
        {line3("\ttext"), nullptr, "src.txt:3: error: expected a decimal index"},
        {line3("-1\ttext"), nullptr, "src.txt:3: error: expected a decimal index"},
        {line3("1048576\ttext"), nullptr, "src.txt:3: error: index above the largest allowed"},
        {line3("12\ta\\qb"), nullptr, "src.txt:3: error: unknown escape \\q"},
        {line3("12\tabc\\"), nullptr, "src.txt:3: error: backslash at the end"},
        {line3("12\ta\0b"s), nullptr, "src.txt:3: error: NUL byte"},
        {line3("12\t\xC3("), nullptr,
         "src.txt:3: error: column 4: byte 0xC3; the text is not valid UTF-8"},
        {line3("12\tarrow \xE2\x86\x92"), nullptr,
         "src.txt:3: error: column 10: U+2192, a character that code page 1252 cannot hold"},
        {line3("# codepage: x"), nullptr, "src.txt:3: error: expected \"# codepage: N\""},
        {line3("# en: a\\q"), nullptr, "src.txt:3: error: unknown escape \\q"},
        {line3("1\tagain"), nullptr, "src.txt:3: error: index 1 is already given on line 1"},
        // UTF-16 with and without its byte-order mark.
        {"\377\3766\0005\0"s, "1252", "src.txt: error: the source is UTF-16"},
        {"6\0005\0"s, "1252", "the source is UTF-16"},
        {"658\ta\r659\tb\r", "1252", "the source has CR-only line ends"},
        {"# codepage: 1250\n" + CatalogueSource(), "1252",
         "the source names code page 1250, --codepage 1252"},
        {"0\ta\n", "4242", "code page 4242 is not supported"},
        {std::nullopt, nullptr, "cannot read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("row " + std::to_string(&c - cases) + ": " + c.message);
        std::vector<std::string> args = {
            "build", c.source ? Source(*c.source) : m_dir.File("absent.txt"), "-o", Base()};
        if (c.codepage != nullptr) {
            args.insert(args.end(), {"--codepage", c.codepage});
        }
        RunResult built = Langtool(args);
        EXPECT_EQ(built.status, 1);
        EXPECT_TRUE(Contains(built.err, c.message));
        EXPECT_TRUE(NoTable(Base()));
    }
}

TEST_F(LangtoolTest, CheckAcceptsACompleteTable) {
    ASSERT_EQ(Build(Source(CatalogueSource(127)), Base()).status, 0);
    RunResult checked = Langtool({"check", Base()});
    EXPECT_EQ(checked.status, 0) << checked.out;
    EXPECT_TRUE(Contains(checked.out, "789 records"));
    EXPECT_TRUE(Contains(checked.out, "0 errors, 0 warnings"));
}

TEST_F(LangtoolTest, CheckReportsCatalogueProblemsOfATable) {
    std::string caption(128, 'c');
    LanguageText texts[] = {
        {658, "T"}, {659, "L"}, {661, "&B"}, {662, "&I"}, {664, "E&xit"},        {665, ""},
        {668, "D"}, {669, "C"}, {785, "R"},  {786, "C"},  {787, caption.c_str()}};
    ASSERT_TRUE(WriteLanguageTable(Base().c_str(), texts, 11));
    RunResult checked = Langtool({"check", Base()});
    EXPECT_EQ(checked.status, 1);
    EXPECT_TRUE(Contains(checked.out, "error: TXT_BROWSE_TITLE (665) is empty"));
    EXPECT_TRUE(Contains(checked.out, "error: TXT_LANGUAGE_SELECTION (788) is missing"));
    EXPECT_TRUE(Contains(checked.out, "error: TXT_BROWSE_CAPTION (787) has 128 characters"));
    EXPECT_TRUE(Contains(checked.out, "3 errors, 0 warnings"));
}

TEST_F(LangtoolTest, CheckReportsFormatProblems) {
    const char pool[] = "good\0nonul";
    TextIndexEntry records[] = {
        {0, 5}, {0, 0}, {5, 5}, {8, 10}, {0x80000000u, 1},
    };
    ASSERT_TRUE(WriteRawLanguageTable(Base().c_str(), records, 5, pool, 10));
    ASSERT_TRUE(WriteBytes(Base() + ".sif", ReadBytes(Base() + ".sif") + "xyz"));
    RunResult checked = Langtool({"check", Base()});
    EXPECT_EQ(checked.status, 1);
    const char* expected[] = {
        "3 bytes after the last record",
        "record 1 (offset 0, length 0): length 0",
        "record 2 (offset 5, length 5): no NUL within its bytes",
        "record 3 (offset 8, length 10): bytes reach past the end of the pool",
        "record 4 (offset 2147483648, length 1): offset is 2^31 or more",
    };
    for (const char* message : expected) {
        EXPECT_TRUE(Contains(checked.out, message));
    }
    EXPECT_FALSE(Contains(checked.out, "record 0 "));
}

// Status and update against a master: a new text, a changed English, an
// obsolete text, a text marked new; update puts it in step with the
// translations kept and their English recorded, and does so only once; it
// leaves a broken source as it is.
TEST_F(LangtoolTest, StatusAndUpdateKeepALanguageInStepWithTheMaster) {
    std::string master = Source("1\tOne\n2\tTwo, changed\n3\tThree\n4\tFour\n", "English.txt");
    std::string language = Source("# codepage: 1250\n# note on one\n1\tJeden\n"
                                  "# en: Two\n2\tDwa\n# new\n4\tFour\n9\tDziewiec\n",
                                  "Polski.txt");
    RunResult status = Langtool({"status", "--master", master, language});
    EXPECT_EQ(status.status, 1);
    EXPECT_EQ(status.out, language + ": 1 translated, 2 missing, 1 obsolete, 1 stale\n"
                                     "  2 stale: translated from \"Two\", the English is now "
                                     "\"Two, changed\"\n"
                                     "  3 missing; the English is \"Three\"\n"
                                     "  4 not translated yet: \"Four\"\n"
                                     "  9 obsolete: the master has no such text\n");

    RunResult updated = Langtool({"update", "--master", master, language});
    EXPECT_EQ(updated.status, 0) << updated.err;
    EXPECT_EQ(updated.out, language + ": 1 translated, 2 missing, 0 obsolete, 1 stale\n");
    std::string merged = "# codepage: 1250\n# note on one\n# en: One\n1\tJeden\n"
                         "# en: Two\n2\tDwa\n# new\n# en: Three\n3\tThree\n"
                         "# new\n# en: Four\n4\tFour\n#~ 9\tDziewiec\n";
    EXPECT_EQ(ReadBytes(language), merged);
    ASSERT_EQ(Langtool({"update", "--master", master, language}).status, 0);
    EXPECT_EQ(ReadBytes(language), merged);

    std::string done = Source("# en: One\n1\tJeden\n", "Done.txt");
    status = Langtool({"status", "--master", Source("1\tOne\n", "Master.txt"), done});
    EXPECT_EQ(status.status, 0);
    EXPECT_EQ(status.out, done + ": 1 translated, 0 missing, 0 obsolete, 0 stale\n");

    std::string broken = "1\tJeden\n1\tagain\n";
    std::string brokenPath = Source(broken, "Broken.txt");
    updated = Langtool({"update", "--master", master, brokenPath});
    EXPECT_EQ(updated.status, 1);
    EXPECT_TRUE(Contains(updated.err, "index 1 is already given on line 1"));
    EXPECT_EQ(ReadBytes(brokenPath), broken);
}

} // namespace
