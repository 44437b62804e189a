// langtool's commands, run in-process: round trips through build and dump,
// the build errors, and check on sound and broken tables.

#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Langtool.h"
#include "TempDir.h"
#include "text/LanguageTable.h"
#include "text/LanguageWriter.h"
#include "text/TextCatalogue.h"

namespace {

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

std::string ReadBack(FILE* file) {
    std::string data;
    rewind(file);
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0) {
        data.append(chunk, got);
    }
    fclose(file);
    return data;
}

RunResult Langtool(const std::vector<std::string>& args) {
    std::vector<const char*> argv = {"langtool"};
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    FILE* out = tmpfile();
    FILE* err = tmpfile();
    if (out == nullptr || err == nullptr) {
        ADD_FAILURE() << "no temporary files";
        return RunResult{-1, "", ""};
    }
    int status = LangtoolMain((int)argv.size(), argv.data(), out, err);
    std::string outText = ReadBack(out);
    return RunResult{status, outText, ReadBack(err)};
}

// The text of `index` in the table at `base`, "<none>" when it has none.
std::string TextAt(const std::string& base, int index) {
    CLanguageTable table;
    table.Load(base.c_str());
    char* block = table.GetString(index);
    if (block == nullptr) {
        return "<none>";
    }
    std::string text(block);
    free(block);
    return text;
}

// A source with every catalogue text, the browse caption of `captionLength`.
std::string CatalogueSource(size_t captionLength) {
    std::string source;
    for (int index : {658, 659, 661, 662, 664, 665, 668, 669, 785, 786, 788}) {
        source += std::to_string(index) + "\tText " + std::to_string(index) + "\n";
    }
    return source + "787\t" + std::string(captionLength, 'c') + "\n";
}

class LangtoolTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_dir.Valid()); }

    std::string Source(const std::string& text, const char* name = "src.txt") {
        std::string path = m_dir.File(name);
        EXPECT_TRUE(WriteBytes(path, text));
        return path;
    }
    std::string Base(const char* name = "lang") const { return m_dir.File(name); }
    bool NoTable(const std::string& base) const {
        return !Exists(base + ".sif") && !Exists(base + ".poo");
    }
    RunResult Build(const std::string& source, const std::string& base) {
        return Langtool({"build", source, "-o", base});
    }

    TempDir m_dir;
};

TEST_F(LangtoolTest, BuildConvertsToTheCodePageAndDumpRoundTrips) {
    std::string source = "\xEF\xBB\xBF# German texts\r\n"
                         "658\t\xC3\x9C"
                         "berschrift: Gr\xC3\xB6\xC3\x9F"
                         "e \xE2\x82\xAC\r\n"
                         "\n   \n"
                         "660\tTab\\there, line\\nbreak, cr\\r, back\\\\slash\n"
                         "659\t\n"
                         "661\t  spaces kept  ";
    std::string base = Base();
    RunResult built = Build(Source(source), base);
    ASSERT_EQ(built.status, 0) << built.err;

    EXPECT_EQ(TextAt(base, 658), "\xDC"
                                 "berschrift: Gr\xF6\xDF"
                                 "e \x80");
    EXPECT_EQ(TextAt(base, 660), "Tab\there, line\nbreak, cr\r, back\\slash");
    EXPECT_EQ(TextAt(base, 659), "");
    EXPECT_EQ(TextAt(base, 661), "  spaces kept  ");

    RunResult dumped = Langtool({"dump", base});
    ASSERT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_EQ(dumped.out, "# 662 records, code page 1252; indexes not listed hold empty texts\n"
                          "658\t\xC3\x9C"
                          "berschrift: Gr\xC3\xB6\xC3\x9F"
                          "e \xE2\x82\xAC\n"
                          "660\tTab\\there, line\\nbreak, cr\\r, back\\\\slash\n"
                          "661\t  spaces kept  \n");

    std::string again = Base("again");
    ASSERT_EQ(Build(Source(dumped.out, "dumped.txt"), again).status, 0);
    EXPECT_EQ(ReadBytes(again + ".sif"), ReadBytes(base + ".sif"));
    EXPECT_EQ(ReadBytes(again + ".poo"), ReadBytes(base + ".poo"));
}

TEST_F(LangtoolTest, DumpKeepsAnEmptyLastTextSoTheTableKeepsItsLength) {
    std::string base = Base();
    ASSERT_EQ(Build(Source("0\ta\n5\t\n"), base).status, 0);
    RunResult dumped = Langtool({"dump", base});
    EXPECT_EQ(dumped.out, "# 6 records, code page 1252; indexes not listed hold empty texts\n"
                          "0\ta\n5\t\n");
}

TEST_F(LangtoolTest, OtherCodePagesConvertBothWays) {
    std::string base = Base();
    std::string russian = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"; // "Privet"
    RunResult built =
        Langtool({"build", Source("0\t" + russian + "\n"), "-o", base, "--codepage", "1251"});
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(TextAt(base, 0), "\xCF\xF0\xE8\xE2\xE5\xF2");
    RunResult dumped = Langtool({"dump", base, "--codepage", "1251"});
    EXPECT_EQ(dumped.out.substr(dumped.out.find('\n') + 1), "0\t" + russian + "\n");
}

TEST_F(LangtoolTest, GapsAreWarnedAboutAndReadAsEmptyTexts) {
    std::string base = Base();
    RunResult built = Build(Source("0\ta\n3\tb\n7\tc\n"), base);
    EXPECT_EQ(built.status, 0);
    EXPECT_NE(built.err.find("warning: 5 indexes below the highest are not given (1-2, 4-6)"),
              std::string::npos)
        << built.err;
    EXPECT_NE(built.err.find("empty texts"), std::string::npos);
    EXPECT_EQ(TextAt(base, 5), "");
}

struct BadSource {
    const char* what;
    std::string line; // becomes line 3 of the source
    const char* message;
};

TEST_F(LangtoolTest, SourceErrorsNameFileAndLineAndWriteNothing) {
    const BadSource cases[] = {
        {"no tab", "12 text", "expected a decimal index, a tab and the text"},
        {"no index", "\ttext", "expected a decimal index"},
        {"signed index", "-1\ttext", "expected a decimal index"},
        {"index too large", "1048576\ttext", "index above the largest allowed"},
        {"unknown escape", "12\ta\\qb", "unknown escape \\q"},
        {"lone backslash", "12\tabc\\", "backslash at the end"},
        {"NUL byte", std::string("12\ta\0b", 6), "NUL byte"},
        {"bad UTF-8", "12\t\xC3(", "not valid UTF-8"},
        {"character outside 1252", "12\tarrow \xE2\x86\x92", "cannot hold (code page 1252)"},
        {"duplicate index", "1\tagain", "index 1 is already given on line 1"},
    };
    for (const BadSource& c : cases) {
        SCOPED_TRACE(c.what);
        std::string source = Source("1\tfirst\n# comment\n" + c.line + "\n4\tlast\n");
        RunResult built = Build(source, Base());
        EXPECT_EQ(built.status, 1);
        EXPECT_NE(built.err.find(source + ":3: error: "), std::string::npos) << built.err;
        EXPECT_NE(built.err.find(c.message), std::string::npos) << built.err;
        EXPECT_TRUE(NoTable(Base()));
    }
}

TEST_F(LangtoolTest, UnknownCodePageAndMissingSourceWriteNothing) {
    RunResult built = Langtool({"build", Source("0\ta\n"), "-o", Base(), "--codepage", "4242"});
    EXPECT_EQ(built.status, 1);
    EXPECT_NE(built.err.find("code page 4242 is not supported"), std::string::npos) << built.err;
    EXPECT_EQ(Build(m_dir.File("absent.txt"), Base()).status, 1);
    EXPECT_TRUE(NoTable(Base()));
}

TEST_F(LangtoolTest, UsageErrorsExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"translate", "x"},
        {"build", "src.txt"},
        {"build", "src.txt", "-o"},
        {"dump"},
        {"dump", "a", "b"},
        {"dump", "a", "--codepage", "abc"},
        {"dump", "a", "--codepage", "-5"},
        {"check", "a", "--codepage", "1252"},
        {"check", "a", "--verbose"},
    };
    for (const std::vector<std::string>& args : cases) {
        RunResult run = Langtool(args);
        EXPECT_EQ(run.status, 2) << (args.empty() ? "" : args[0]) << " " << args.size();
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
}

TEST_F(LangtoolTest, DumpReportsMissingTablesAndUnreadableRecords) {
    RunResult missing = Langtool({"dump", Base("absent")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot open"), std::string::npos);

    TextIndexEntry records[] = {{0, 2}, {0, 9}};
    ASSERT_TRUE(WriteRawLanguageTable(Base().c_str(), records, 2, "a", 2));
    RunResult broken = Langtool({"dump", Base()});
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.out.find("0\ta\n"), std::string::npos);
    EXPECT_NE(broken.err.find("record 1 has no readable text"), std::string::npos);
}

TEST_F(LangtoolTest, CheckAcceptsACompleteTable) {
    ASSERT_EQ(Build(Source(CatalogueSource(127)), Base()).status, 0);
    RunResult checked = Langtool({"check", Base()});
    EXPECT_EQ(checked.status, 0) << checked.out;
    EXPECT_NE(checked.out.find("789 records"), std::string::npos);
    EXPECT_NE(checked.out.find("0 errors, 0 warnings"), std::string::npos) << checked.out;
}

TEST_F(LangtoolTest, CheckReportsCatalogueProblems) {
    std::string source = CatalogueSource(128);
    source.replace(source.find("665\tText 665"), 12, "665\t");
    source.erase(source.find("788\t"),
                 source.find('\n', source.find("788\t")) + 1 - source.find("788\t"));
    ASSERT_EQ(Build(Source(source), Base()).status, 0);
    RunResult checked = Langtool({"check", Base()});
    EXPECT_EQ(checked.status, 1);
    EXPECT_NE(checked.out.find("warning: TXT_BROWSE_TITLE (665) is empty"), std::string::npos)
        << checked.out;
    EXPECT_NE(checked.out.find("error: TXT_LANGUAGE_SELECTION (788) is missing"),
              std::string::npos);
    EXPECT_NE(checked.out.find("error: TXT_BROWSE_CAPTION (787) has 128 characters"),
              std::string::npos);
    EXPECT_NE(checked.out.find("2 errors, 1 warnings"), std::string::npos);
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
        EXPECT_NE(checked.out.find(message), std::string::npos) << message << "\n" << checked.out;
    }
    EXPECT_EQ(checked.out.find("record 0 "), std::string::npos);
}

} // namespace
