// The language table reader against well-formed, truncated and malformed
// index and pool files.

#include <limits.h>
#include <stdlib.h>
#include <string.h>

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "TempDir.h"
#include "text/LanguageTable.h"
#include "text/LanguageWriter.h"
#include "text/TextCatalogue.h"

namespace {

// The text of `index` up to its first NUL, or nullopt when there is none.
std::optional<std::string> Fetch(CLanguageTable& table, int index) {
    char* block = table.GetString(index);
    if (block == nullptr) {
        return std::nullopt;
    }
    std::string text(block);
    free(block);
    return text;
}

std::string Le32(uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = (char)((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

class LanguageTableTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_dir.Valid()); }

    std::string Base(const char* name = "lang") const { return m_dir.File(name); }

    void WriteTexts(const std::string& base, std::initializer_list<LanguageText> texts) {
        ASSERT_TRUE(WriteLanguageTable(base.c_str(), texts.begin(), texts.size()));
    }

    TempDir m_dir;
};

TEST_F(LanguageTableTest, FreshTableIsEmpty) {
    CLanguageTable table;
    EXPECT_EQ(table.GetCount(), 0);
    char zeros[text::kPathBufferSize] = {};
    EXPECT_EQ(memcmp(table.GetBasePath(), zeros, sizeof(zeros)), 0);
    EXPECT_FALSE(Fetch(table, 0));
    EXPECT_FALSE(Fetch(table, -1));
    EXPECT_FALSE(Fetch(table, 789));
}

TEST_F(LanguageTableTest, ReadsLittleEndianRecordsFromHandWrittenFiles) {
    // Record 0 points at offset 0x0102 so that a byte-order mistake in
    // either field reads somewhere else.
    std::string pool(0x0102, 'x');
    pool += std::string("Hallo\0", 6);
    ASSERT_TRUE(WriteBytes(Base() + ".poo", pool));
    ASSERT_TRUE(WriteBytes(Base() + ".sif", Le32(0x0102) + Le32(6) + Le32(0x0105) + Le32(3)));

    CLanguageTable table;
    table.Load(Base().c_str());
    ASSERT_EQ(table.GetCount(), 2);
    EXPECT_EQ(Fetch(table, 0), "Hallo");
    EXPECT_EQ(Fetch(table, 1), "lo");
}

TEST_F(LanguageTableTest, TrailingIndexBytesAreIgnored) {
    WriteTexts(Base(), {{0, "zero"}, {1, "one"}});
    std::string index = ReadBytes(Base() + ".sif");
    ASSERT_TRUE(WriteBytes(Base() + ".sif", index + "\x01\x02\x03\x04"));

    CLanguageTable table;
    table.Load(Base().c_str());
    EXPECT_EQ(table.GetCount(), 2);
    EXPECT_EQ(Fetch(table, 1), "one");
    EXPECT_FALSE(Fetch(table, 2));
}

TEST_F(LanguageTableTest, EmptyIndexFileLoadsWithoutTexts) {
    ASSERT_TRUE(WriteBytes(Base() + ".sif", ""));
    ASSERT_TRUE(WriteBytes(Base() + ".poo", std::string("text\0", 5)));
    CLanguageTable table;
    table.Load(Base().c_str());
    EXPECT_EQ(table.GetCount(), 0);
    EXPECT_STREQ(table.GetBasePath(), Base().c_str());
    EXPECT_FALSE(Fetch(table, 0));
}

TEST_F(LanguageTableTest, IndexBoundsAreChecked) {
    WriteTexts(Base(), {{0, "first"}, {4, "last"}});
    CLanguageTable table;
    table.Load(Base().c_str());
    ASSERT_EQ(table.GetCount(), 5);
    EXPECT_FALSE(Fetch(table, -1));
    EXPECT_FALSE(Fetch(table, INT_MIN));
    EXPECT_FALSE(Fetch(table, 5));
    EXPECT_FALSE(Fetch(table, INT_MAX));
    EXPECT_EQ(Fetch(table, 4), "last");
    EXPECT_EQ(Fetch(table, 0), "first");
}

TEST_F(LanguageTableTest, MissingPoolYieldsNothing) {
    WriteTexts(Base(), {{0, "a"}, {1, "b"}});
    ASSERT_EQ(remove((Base() + ".poo").c_str()), 0);
    CLanguageTable table;
    table.Load(Base().c_str());
    EXPECT_EQ(table.GetCount(), 2);
    EXPECT_FALSE(Fetch(table, 0));
    EXPECT_FALSE(Fetch(table, 1));
}

TEST_F(LanguageTableTest, TextEndsAtFirstNulButBlockHoldsTheWholeRecord) {
    const char pool[] = {'\0', 'a', 'b', '\0', 'c', 'd', '\0'};
    TextIndexEntry records[] = {{0, 1}, {1, 6}};
    ASSERT_TRUE(WriteRawLanguageTable(Base().c_str(), records, 2, pool, sizeof(pool)));
    CLanguageTable table;
    table.Load(Base().c_str());

    EXPECT_EQ(Fetch(table, 0), ""); // present and empty, unlike an absent text
    char* block = table.GetString(1);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(memcmp(block, pool + 1, 6), 0);
    EXPECT_STREQ(block, "ab");
    free(block);
}

TEST_F(LanguageTableTest, TableOf788RecordsLacksTheLastCatalogueText) {
    WriteTexts(Base(), {{TXT_DIALOG_TITLE, "Setup"}, {TXT_BROWSE_CAPTION, "Choose"}});
    CLanguageTable table;
    table.Load(Base().c_str());
    EXPECT_EQ(table.GetCount(), 788);
    EXPECT_EQ(Fetch(table, TXT_BROWSE_CAPTION), "Choose");
    EXPECT_EQ(Fetch(table, TXT_DIALOG_TITLE), "Setup");
    EXPECT_EQ(Fetch(table, TXT_INSTALL_TO), ""); // a gap reads as an empty text
    EXPECT_FALSE(Fetch(table, TXT_LANGUAGE_SELECTION));
}

struct MalformedRecord {
    const char* what;
    TextIndexEntry record;
};

TEST_F(LanguageTableTest, MalformedRecordsYieldNothing) {
    // Pool of 16 bytes: "0123456789abcde" and a NUL at 15.
    const char pool[] = "0123456789abcde";
    const MalformedRecord cases[] = {
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
    for (const MalformedRecord& c : cases) {
        SCOPED_TRACE(c.what);
        TextIndexEntry records[] = {{15, 1}, c.record, {10, 6}};
        ASSERT_TRUE(WriteRawLanguageTable(Base().c_str(), records, 3, pool, sizeof(pool)));
        CLanguageTable table;
        table.Load(Base().c_str());
        ASSERT_EQ(table.GetCount(), 3);
        EXPECT_FALSE(Fetch(table, 1));
        EXPECT_EQ(Fetch(table, 0), "");
        EXPECT_EQ(Fetch(table, 2), "abcde");
    }
}

TEST_F(LanguageTableTest, RecordCoveringTheWholePoolExactlyIsRead) {
    const char pool[] = "whole";
    TextIndexEntry records[] = {{0, sizeof(pool)}};
    ASSERT_TRUE(WriteRawLanguageTable(Base().c_str(), records, 1, pool, sizeof(pool)));
    CLanguageTable table;
    table.Load(Base().c_str());
    EXPECT_EQ(Fetch(table, 0), "whole");
}

TEST_F(LanguageTableTest, FailedLoadEmptiesThePreviousTable) {
    WriteTexts(Base("english"), {{0, "Install"}});
    CLanguageTable table;
    table.Load(Base("english").c_str());
    ASSERT_EQ(Fetch(table, 0), "Install");

    // Only the pool of the new language exists: its index cannot be opened.
    WriteTexts(Base("deutsch"), {{0, "Installieren"}});
    ASSERT_EQ(remove((Base("deutsch") + ".sif").c_str()), 0);
    table.Load(Base("deutsch").c_str());
    EXPECT_EQ(table.GetCount(), 0);
    EXPECT_STREQ(table.GetBasePath(), Base("deutsch").c_str());
    EXPECT_FALSE(Fetch(table, 0));
}

TEST_F(LanguageTableTest, ReloadReplacesRecordsAndBasePath) {
    WriteTexts(Base("a"), {{0, "a0"}, {1, "a1"}, {2, "a2"}});
    WriteTexts(Base("b"), {{0, "b0"}});
    CLanguageTable table;
    table.Load(Base("a").c_str());
    table.Load(Base("b").c_str());
    EXPECT_EQ(table.GetCount(), 1);
    EXPECT_EQ(Fetch(table, 0), "b0");
    EXPECT_FALSE(Fetch(table, 1));

    table.Load(table.GetBasePath()); // its own buffer as the argument
    EXPECT_STREQ(table.GetBasePath(), Base("b").c_str());
    EXPECT_EQ(Fetch(table, 0), "b0");
}

TEST_F(LanguageTableTest, EveryLookupReadsThePoolAgain) {
    WriteTexts(Base(), {{0, "old"}});
    CLanguageTable table;
    table.Load(Base().c_str());
    ASSERT_EQ(Fetch(table, 0), "old");
    ASSERT_TRUE(WriteBytes(Base() + ".poo", std::string("new\0", 4)));
    EXPECT_EQ(Fetch(table, 0), "new");
    ASSERT_EQ(remove((Base() + ".poo").c_str()), 0);
    EXPECT_FALSE(Fetch(table, 0));
}

// A base path of exactly `length` characters below the test folder.
std::string BasePathOfLength(const TempDir& dir, size_t length) {
    std::string base = dir.Path() + "/";
    return base + std::string(length - base.size(), 'n');
}

TEST_F(LanguageTableTest, BasePathOf255CharactersIsAccepted) {
    std::string base = BasePathOfLength(m_dir, text::kMaxBasePath);
    ASSERT_EQ(base.size(), 255u);
    WriteTexts(base, {{0, "fits"}});
    CLanguageTable table;
    table.Load(base.c_str());
    EXPECT_STREQ(table.GetBasePath(), base.c_str());
    EXPECT_EQ(Fetch(table, 0), "fits");
}

TEST_F(LanguageTableTest, OverlongBasePathIsRefusedAndEmptiesTheTable) {
    WriteTexts(Base(), {{0, "loaded"}});
    std::string base = BasePathOfLength(m_dir, text::kMaxBasePath + 1);
    WriteTexts(base, {{0, "too long"}});

    CLanguageTable table;
    table.Load(Base().c_str());
    table.Load(base.c_str());
    EXPECT_EQ(table.GetCount(), 0);
    EXPECT_STREQ(table.GetBasePath(), "");
    EXPECT_FALSE(Fetch(table, 0));

    table.Load(nullptr);
    EXPECT_EQ(table.GetCount(), 0);
}

TEST_F(LanguageTableTest, UnterminatedBasePathIsNotReadPastItsBuffer) {
    // A 256-byte buffer without a NUL: the sanitizers catch any read past it.
    char* path = (char*)malloc(text::kMaxBasePath + 1);
    ASSERT_NE(path, nullptr);
    memset(path, 'p', text::kMaxBasePath + 1);
    CLanguageTable table;
    table.Load(path);
    free(path);
    EXPECT_EQ(table.GetCount(), 0);
    EXPECT_STREQ(table.GetBasePath(), "");
}

} // namespace
