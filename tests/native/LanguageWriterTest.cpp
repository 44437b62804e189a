// The table writer: exact bytes, gaps, invalid input and clean-up on failure.

#include <stdlib.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "TempDir.h"
#include "text/LanguageTable.h"
#include "text/LanguageWriter.h"

namespace {

class LanguageWriterTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_dir.Valid()); }
    std::string Base() const { return m_dir.File("lang"); }
    bool NoFiles() const { return !Exists(Base() + ".sif") && !Exists(Base() + ".poo"); }

    TempDir m_dir;
};

TEST_F(LanguageWriterTest, WritesRecordsAndPoolInIndexOrder) {
    const LanguageText texts[] = {{1, "bc"}, {0, "a"}};
    ASSERT_TRUE(WriteLanguageTable(Base().c_str(), texts, 2));
    EXPECT_EQ(ReadBytes(Base() + ".sif"), std::string("\0\0\0\0\2\0\0\0\2\0\0\0\3\0\0\0", 16));
    EXPECT_EQ(ReadBytes(Base() + ".poo"), std::string("a\0bc\0", 5));
}

TEST_F(LanguageWriterTest, GapsBecomeEmptyTextsOfLengthOne) {
    const LanguageText texts[] = {{3, "three"}, {0, "zero"}};
    ASSERT_TRUE(WriteLanguageTable(Base().c_str(), texts, 2));
    CLanguageTable table;
    table.Load(Base().c_str());
    ASSERT_EQ(table.GetCount(), 4);
    for (int index = 1; index <= 2; ++index) {
        TextIndexEntry entry;
        ASSERT_TRUE(table.GetEntry(index, &entry));
        EXPECT_EQ(entry.length, 1u);
        char* block = table.GetString(index);
        ASSERT_NE(block, nullptr);
        EXPECT_STREQ(block, "");
        free(block);
    }
    char* last = table.GetString(3);
    ASSERT_NE(last, nullptr);
    EXPECT_STREQ(last, "three");
    free(last);
}

TEST_F(LanguageWriterTest, EmptyListWritesEmptyFiles) {
    ASSERT_TRUE(WriteLanguageTable(Base().c_str(), nullptr, 0));
    EXPECT_TRUE(Exists(Base() + ".sif"));
    EXPECT_EQ(ReadBytes(Base() + ".sif"), "");
    EXPECT_EQ(ReadBytes(Base() + ".poo"), "");
}

TEST_F(LanguageWriterTest, RewritingReplacesALargerTable) {
    const LanguageText big[] = {{0, "a long first text"}, {9, "and another"}};
    const LanguageText small[] = {{0, "x"}};
    ASSERT_TRUE(WriteLanguageTable(Base().c_str(), big, 2));
    ASSERT_TRUE(WriteLanguageTable(Base().c_str(), small, 1));
    EXPECT_EQ(ReadBytes(Base() + ".sif").size(), 8u);
    EXPECT_EQ(ReadBytes(Base() + ".poo"), std::string("x\0", 2));
}

TEST_F(LanguageWriterTest, InvalidTextListsWriteNothing) {
    const LanguageText duplicate[] = {{2, "a"}, {0, "b"}, {2, "c"}};
    const LanguageText negative[] = {{0, "a"}, {-1, "b"}};
    const LanguageText nullText[] = {{0, nullptr}};
    EXPECT_FALSE(WriteLanguageTable(Base().c_str(), duplicate, 3));
    EXPECT_FALSE(WriteLanguageTable(Base().c_str(), negative, 2));
    EXPECT_FALSE(WriteLanguageTable(Base().c_str(), nullText, 1));
    EXPECT_FALSE(WriteLanguageTable(Base().c_str(), nullptr, 1));
    EXPECT_TRUE(NoFiles());
}

TEST_F(LanguageWriterTest, FailedWriteLeavesNoPartialFiles) {
    const LanguageText texts[] = {{0, "a"}};
    // The pool's name is taken by a folder: the index opens, the pool does not.
    ASSERT_TRUE(std::filesystem::create_directory(Base() + ".poo"));
    EXPECT_FALSE(WriteLanguageTable(Base().c_str(), texts, 1));
    EXPECT_FALSE(Exists(Base() + ".sif"));
    EXPECT_TRUE(std::filesystem::is_directory(Base() + ".poo"));

    TextIndexEntry record = {0, 2};
    EXPECT_FALSE(WriteRawLanguageTable(Base().c_str(), &record, 1, "a", 2));
    EXPECT_FALSE(Exists(Base() + ".sif"));

    std::string missingFolder = m_dir.File("absent/lang");
    EXPECT_FALSE(WriteLanguageTable(missingFolder.c_str(), texts, 1));
}

TEST_F(LanguageWriterTest, RawWriterKeepsMalformedRecordsAsGiven) {
    TextIndexEntry records[] = {{0x80000000u, 0}, {0x01020304u, 0xFFFFFFFFu}};
    ASSERT_TRUE(WriteRawLanguageTable(Base().c_str(), records, 2, "xyz", 3));
    EXPECT_EQ(ReadBytes(Base() + ".sif"),
              std::string("\0\0\0\x80\0\0\0\0\x04\x03\x02\x01\xFF\xFF\xFF\xFF", 16));
    EXPECT_EQ(ReadBytes(Base() + ".poo"), "xyz");
}

} // namespace
