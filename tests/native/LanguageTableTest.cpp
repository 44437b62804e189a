// The language table reader against well-formed, truncated and malformed
// index and pool files.

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ScratchTables.h"
#include "text/LanguageTable.h"
#include "text/LanguageWriter.h"
#include "text/LocalText.h"
#include "text/SetupPair.h"
#include "text/TextCatalogue.h"

namespace {

using namespace std::string_literals;

// Records as the index file holds them, written out by hand (little-endian
// offset, then length) so that a byte-order mistake in the reader shows.
std::string Records(std::initializer_list<TextIndexEntry> records) {
    std::string bytes;
    for (const TextIndexEntry& record : records) {
        for (uint32_t value : {record.offset, record.length}) {
            for (int i = 0; i < 4; ++i) {
                bytes += (char)((value >> (8 * i)) & 0xFF);
            }
        }
    }
    return bytes;
}

class LanguageTableTest : public ScratchTablesTest {
  protected:
    void WriteTexts(const std::string& base, std::initializer_list<LanguageText> texts) {
        ASSERT_TRUE(WriteLanguageTable(base.c_str(), texts.begin(), texts.size()));
    }
};

using Texts = std::vector<std::pair<int, std::optional<std::string>>>;

struct TableFiles {
    const char* what;
    std::string index;
    std::optional<std::string> pool; // none: there is no pool file
    int count;
    Texts texts; // what the table gives at each index; {} for no text
};

TableFiles Files(const char* what, std::string index, std::optional<std::string> pool, int count,
                 Texts texts) {
    return {what, std::move(index), std::move(pool), count, std::move(texts)};
}

TEST_F(LanguageTableTest, ReadsWhatTheRecordsHoldAndNothingOutsideThem) {
    WriteTexts(Base("788"), {{TXT_DIALOG_TITLE, "Setup"}, {TXT_BROWSE_CAPTION, "Choose"}});
    std::vector<TableFiles> cases = {
        // Record 0 points at offset 0x0102 so that a byte-order mistake in
        // either field reads somewhere else.
        Files("little-endian records", Records({{0x0102, 6}, {0x0105, 3}}),
              std::string(0x0102, 'x') + "Hallo\0"s, 2, {{0, "Hallo"}, {1, "lo"}}),
        Files("trailing index bytes are ignored", Records({{0, 5}, {5, 4}}) + "\x01\x02\x03\x04",
              "zero\0one\0"s, 2, {{1, "one"}, {2, {}}}),
        Files("empty index file", "", "text\0"s, 0, {{0, {}}}),
        Files("index bounds", Records({{0, 6}, {5, 1}, {5, 1}, {5, 1}, {6, 5}}), "first\0last\0"s,
              5, {{0, "first"}, {4, "last"}, {5, {}}, {-1, {}}, {INT_MIN, {}}, {INT_MAX, {}}}),
        Files("missing pool", Records({{0, 2}, {2, 2}}), std::nullopt, 2, {{0, {}}, {1, {}}}),
        // Present and empty, unlike an absent text; the text ends at its NUL.
        Files("text ends at the first NUL", Records({{0, 1}, {1, 6}}), "\0ab\0cd\0"s, 2,
              {{0, ""}, {1, "ab"}}),
        Files("record covering the whole pool", Records({{0, 6}}), "whole\0"s, 1, {{0, "whole"}}),
        // A gap reads as an empty text; the last catalogue text is not there.
        Files("788 records", ReadBytes(Base("788") + ".sif"), ReadBytes(Base("788") + ".poo"), 788,
              {{TXT_BROWSE_CAPTION, "Choose"},
               {TXT_DIALOG_TITLE, "Setup"},
               {TXT_INSTALL_TO, ""},
               {TXT_LANGUAGE_SELECTION, {}}}),
    };
    // Malformed records between two sound ones, in a pool of 16 bytes:
    // "0123456789abcde" and a NUL at 15.
    const std::pair<const char*, TextIndexEntry> malformed[] = {
        {"length 0", {0, 0}},
        {"one byte past the end", {8, 9}},
        {"offset at the end", {16, 1}},
        {"offset far past the end", {0x7FFFFFF0u, 1}},
        {"offset 2^31", {0x80000000u, 1}},
        {"offset 2^32-1", {0xFFFFFFFFu, 1}},
        {"length 2^32-1", {0, 0xFFFFFFFFu}},
        {"sum wraps in 32 bits", {0x7FFFFFF0u, 0x80000020u}},
        {"no NUL in its bytes", {0, 15}},
    };
    for (const auto& [what, record] : malformed) {
        cases.push_back(Files(what, Records({{15, 1}, record, {10, 6}}), "0123456789abcde\0"s, 3,
                              {{0, ""}, {1, {}}, {2, "abcde"}}));
    }
    for (const TableFiles& c : cases) {
        SCOPED_TRACE(c.what);
        remove((Base() + ".poo").c_str());
        ASSERT_TRUE(WriteBytes(Base() + ".sif", c.index));
        ASSERT_TRUE(!c.pool || WriteBytes(Base() + ".poo", *c.pool));
        CLanguageTable table;
        table.Load(Base().c_str());
        EXPECT_EQ(table.GetCount(), c.count);
        EXPECT_STREQ(table.GetBasePath(), Base().c_str());
        for (const auto& [index, text] : c.texts) {
            EXPECT_EQ(TextAt(table, index), text) << "index " << index;
        }
    }
}

TEST_F(LanguageTableTest, BlockHoldsTheWholeRecordBeyondItsFirstNul) {
    const char pool[] = {'a', 'b', '\0', 'c', 'd', '\0'};
    TextIndexEntry record = {0, 6};
    ASSERT_TRUE(WriteRawLanguageTable(Base().c_str(), &record, 1, pool, sizeof(pool)));
    CLanguageTable table;
    table.Load(Base().c_str());
    CHeapBlock<char> block = table.GetString(0);
    ASSERT_TRUE(block);
    EXPECT_EQ(memcmp(block.Get(), pool, 6), 0);
}

// A fresh table is empty. Each load replaces the records and base path of
// the one before, also from the table's own buffer; a load whose index cannot
// be opened leaves no records to show through under the new base path.
TEST_F(LanguageTableTest, EachLoadReplacesThePreviousTable) {
    WriteTexts(Base("a"), {{0, "a0"}, {1, "a1"}, {2, "a2"}});
    WriteTexts(Base("b"), {{0, "b0"}});
    WriteTexts(Base("c"), {{0, "c0"}});
    ASSERT_EQ(remove((Base("c") + ".sif").c_str()), 0); // only its pool is left
    CLanguageTable table;
    EXPECT_EQ(table.GetCount(), 0);
    char zeros[text::kPathBufferSize] = {};
    EXPECT_EQ(memcmp(table.GetBasePath(), zeros, sizeof(zeros)), 0);
    for (int index : {0, -1, 789}) {
        EXPECT_FALSE(TextAt(table, index)) << index;
    }

    table.Load(Base("a").c_str());
    ASSERT_EQ(TextAt(table, 2), "a2");
    table.Load(Base("b").c_str());
    EXPECT_EQ(table.GetCount(), 1);
    EXPECT_EQ(TextAt(table, 0), "b0");
    EXPECT_FALSE(TextAt(table, 1));

    table.Load(table.GetBasePath());
    EXPECT_STREQ(table.GetBasePath(), Base("b").c_str());
    EXPECT_EQ(TextAt(table, 0), "b0");

    table.Load(Base("c").c_str());
    EXPECT_EQ(table.GetCount(), 0);
    EXPECT_STREQ(table.GetBasePath(), Base("c").c_str());
    EXPECT_FALSE(TextAt(table, 0));
}

TEST_F(LanguageTableTest, EveryLookupReadsThePoolAgain) {
    WriteTexts(Base(), {{0, "old"}});
    CLanguageTable table;
    table.Load(Base().c_str());
    ASSERT_EQ(TextAt(table, 0), "old");
    ASSERT_TRUE(WriteBytes(Base() + ".poo", std::string("new\0", 4)));
    EXPECT_EQ(TextAt(table, 0), "new");
    ASSERT_EQ(remove((Base() + ".poo").c_str()), 0);
    EXPECT_FALSE(TextAt(table, 0));
}

// A base path of 255 characters is taken; one of 256, none at all, or 256
// characters without a NUL are refused and empty the table.
TEST_F(LanguageTableTest, BasePathsUpTo255CharactersAreAccepted) {
    std::string folder = m_dir.Path() + "/";
    std::string longest = folder + std::string(text::kMaxBasePath - folder.size(), 'n');
    ASSERT_EQ(longest.size(), 255u);
    WriteTexts(longest, {{0, "fits"}});
    WriteTexts(longest + "n", {{0, "too long"}});

    CLanguageTable table;
    table.Load(longest.c_str());
    EXPECT_STREQ(table.GetBasePath(), longest.c_str());
    EXPECT_EQ(TextAt(table, 0), "fits");

    table.Load((longest + "n").c_str());
    EXPECT_EQ(table.GetCount(), 0);
    EXPECT_STREQ(table.GetBasePath(), "");
    EXPECT_FALSE(TextAt(table, 0));

    table.Load(longest.c_str());
    table.Load(nullptr);
    EXPECT_EQ(table.GetCount(), 0);

    // A 256-byte buffer without a NUL: the sanitizers catch any read past it.
    std::vector<char> unterminated(text::kMaxBasePath + 1, 'p');
    table.Load(longest.c_str());
    table.Load(unterminated.data());
    EXPECT_EQ(table.GetCount(), 0);
    EXPECT_STREQ(table.GetBasePath(), "");
}

// Placeholders are replaced once each, in any order and as often as the
// text has them; anything else with '%' stays; the result is cut to fit.
TEST(FormatInserts, ReplacesNumberedPlaceholdersWithinTheBuffer) {
    const char* const ab[] = {"A", "B"};
    const struct {
        const char* text;
        std::vector<const char*> inserts;
        size_t size;
        const char* expected;
        bool whole;
    } cases[] = {
        {"Kein %1 in %2.", {"A", "B"}, 64, "Kein A in B.", true},
        {"%2 vor %1, %1 wieder", {"A", "B"}, 64, "B vor A, A wieder", true},
        {"100% %0 %3 %a %", {"A", "B"}, 64, "100% %0 %3 %a %", true},
        {"%1%2", {"%2", "%1"}, 64, "%2%1", true}, // inserts are not searched
        {"[%1] [%2]", {nullptr, "B"}, 64, "[%1] [B]", true},
        {"[%1]", {}, 64, "[%1]", true},
        {"", {"A"}, 64, "", true},
        {"abc", {}, 4, "abc", true},
        {"abcd", {}, 4, "abc", false},
        {"ab%1", {"cdefgh"}, 6, "abcde", false},
        {"ab%1x", {"c"}, 4, "abc", false},
        {"ab", {}, 1, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.size));
        std::vector<char> buffer(c.size + 1, '#'); // a byte past the size shows an overrun
        EXPECT_EQ(FormatInserts(buffer.data(), c.size, c.text, c.inserts.data(), c.inserts.size()),
                  c.whole);
        EXPECT_STREQ(buffer.data(), c.expected);
        EXPECT_EQ(buffer[c.size], '#');
    }
    char none[1] = {'#'};
    EXPECT_FALSE(FormatInserts(none, 0, "x", ab, 2));
    EXPECT_EQ(none[0], '#');
}

// A table's text where it has one; the English where it has none, an empty
// one or a broken one, and where no table was loaded.
TEST_F(LanguageTableTest, LookedUpTextsAreTheTablesOrTheEnglish) {
    WriteTexts(Base(), {{2, "Kein %1 in %2."}, {4, ""}, {6, "Zu lang, um ganz zu passen"}});
    std::string index = ReadBytes(Base() + ".sif");
    index.replace(5 * 8 + 4, 4, std::string(4, '\0')); // record 5: length 0
    ASSERT_TRUE(WriteBytes(Base() + ".sif", index));
    const struct {
        const char* what;
        TextRef ref;
        const char* expected;
    } cases[] = {
        {"translated", {2, "No %1 in %2."}, "Kein A in B."},
        {"empty", {4, "Empty %1"}, "Empty A"},
        {"gap", {3, "Gap"}, "Gap"},
        {"broken record", {5, "Broken"}, "Broken"},
        {"past the table", {7, "Past %2"}, "Past B"},
        {"no text", {kNoText, "Only English"}, "Only English"},
        {"no English", {kNoText, nullptr}, ""},
    };
    CLanguageTable table, none;
    table.Load(Base().c_str());
    const char* const inserts[] = {"A", "B"};
    char text[text::kMessageSize];
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_STREQ(LookUpText(table, c.ref, text, sizeof text, inserts, 2), c.expected);
    }
    EXPECT_STREQ(LookUpText(none, {2, "No %1"}, text, sizeof text, inserts, 1), "No A");
    char cut[17];
    EXPECT_STREQ(LookUpText(table, {6, "Too long"}, cut, sizeof cut, nullptr, 0),
                 "Zu lang, um ganz");
}

// Setup's messages come only from a setup pair that holds its marker,
// whatever a game's table holds at their indexes (here the game's own texts
// up to record 1,499); the dialog's texts only from the game's table. The
// pair's direction record says right to left with "rtl" alone.
TEST_F(LanguageTableTest, MessagesComeOnlyFromAMarkedSetupPair) {
    std::vector<LanguageText> game;
    std::vector<std::string> gameTexts(1500);
    for (int index = 0; index < 1500; ++index) {
        gameTexts[index] = "game " + std::to_string(index);
        game.push_back({index, gameTexts[index].c_str()});
    }
    ASSERT_TRUE(WriteLanguageTable(Base("game").c_str(), game.data(), game.size()));
    const char* marker = text::kSetupPairMarker;
    const struct {
        const char* what;
        std::vector<LanguageText> pair; // empty: none
        const char* message;            // TXT_PATH_RELATIVE as shown
        bool rightToLeft;
    } cases[] = {
        {"no pair", {}, nullptr, false},
        {"left to right",
         {{0, marker}, {1, "ltr"}, {TXT_PATH_RELATIVE, "Relativ"}},
         "Relativ",
         false},
        {"right to left",
         {{0, marker}, {1, "rtl"}, {TXT_PATH_RELATIVE, "Relativ"}},
         "Relativ",
         true},
        {"unknown direction", {{0, marker}, {1, "RTL"}}, nullptr, false},
        {"no marker", {{0, "game 0"}, {1, "rtl"}, {TXT_PATH_RELATIVE, "Relativ"}}, nullptr, false},
        {"a game's table", game, nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(Base("setup") + ".sif");
        ASSERT_TRUE(c.pair.empty() ||
                    WriteLanguageTable(Base("setup").c_str(), c.pair.data(), c.pair.size()));
        LanguageTexts texts;
        texts.Load(Base("game").c_str(), Base("setup").c_str());
        char shown[text::kMessageSize];
        for (const CatalogueText& row : kTextCatalogue) {
            LookUpText(texts, {row.index, row.english}, shown, sizeof shown, nullptr, 0);
            if (!InSetupPair(row.index))
                EXPECT_EQ(shown, gameTexts[row.index]) << row.name;
            else if (row.index == TXT_PATH_RELATIVE && c.message)
                EXPECT_STREQ(shown, c.message);
            else
                EXPECT_STREQ(shown, row.english) << row.name;
        }
        EXPECT_EQ(texts.RightToLeft(), c.rightToLeft);
    }
}

} // namespace
