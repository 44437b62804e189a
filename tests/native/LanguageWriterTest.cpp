// The table writer: exact bytes, gaps, invalid input and clean-up on failure.

#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "ScratchTables.h"
#include "text/LanguageTable.h"
#include "text/LanguageWriter.h"

namespace {

class LanguageWriterTest : public ScratchTablesTest {};

// Each row writes into Base() and leaves both files with exactly these bytes;
// the first starts without files.
TEST_F(LanguageWriterTest, WritesExactBytes) {
    const std::string base = Base();
    const LanguageText unordered[] = {{1, "bc"}, {0, "a"}};
    const LanguageText big[] = {{0, "a long first text"}, {9, "and another"}};
    const LanguageText small[] = {{0, "x"}};
    const TextIndexEntry malformed[] = {{0x80000000u, 0}, {0x01020304u, 0xFFFFFFFFu}};
    const struct {
        const char* what;
        std::function<bool()> write;
        std::string index;
        std::string pool;
    } cases[] = {
        {"an empty list gives empty files",
         [&] { return WriteLanguageTable(base.c_str(), nullptr, 0); }, "", ""},
        {"records and pool in index order",
         [&] { return WriteLanguageTable(base.c_str(), unordered, 2); },
         std::string("\0\0\0\0\2\0\0\0\2\0\0\0\3\0\0\0", 16), std::string("a\0bc\0", 5)},
        {"rewriting replaces a larger table",
         [&] {
             return WriteLanguageTable(base.c_str(), big, 2) &&
                    WriteLanguageTable(base.c_str(), small, 1);
         },
         std::string("\0\0\0\0\2\0\0\0", 8), std::string("x\0", 2)},
        {"the raw writer keeps malformed records as given",
         [&] { return WriteRawLanguageTable(base.c_str(), malformed, 2, "xyz", 3); },
         std::string("\0\0\0\x80\0\0\0\0\x04\x03\x02\x01\xFF\xFF\xFF\xFF", 16), "xyz"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.write());
        EXPECT_TRUE(Exists(base + ".sif") && Exists(base + ".poo"));
        EXPECT_EQ(ReadBytes(base + ".sif"), c.index);
        EXPECT_EQ(ReadBytes(base + ".poo"), c.pool);
    }
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
        EXPECT_EQ(TextAt(table, index), "");
    }
    EXPECT_EQ(TextAt(table, 3), "three");
}

TEST_F(LanguageWriterTest, InvalidTextListsWriteNothing) {
    const LanguageText duplicate[] = {{2, "a"}, {0, "b"}, {2, "c"}};
    const LanguageText negative[] = {{0, "a"}, {-1, "b"}};
    const LanguageText nullText[] = {{0, nullptr}};
    EXPECT_FALSE(WriteLanguageTable(Base().c_str(), duplicate, 3));
    EXPECT_FALSE(WriteLanguageTable(Base().c_str(), negative, 2));
    EXPECT_FALSE(WriteLanguageTable(Base().c_str(), nullText, 1));
    EXPECT_FALSE(WriteLanguageTable(Base().c_str(), nullptr, 1));
    EXPECT_TRUE(NoTable(Base()));
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

} // namespace
