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
    const LanguageText gaps[] = {{3, "three"}, {0, "zero"}};
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
        {"gaps become empty texts of length one",
         [&] { return WriteLanguageTable(base.c_str(), gaps, 2); },
         std::string("\0\0\0\0\5\0\0\0\5\0\0\0\1\0\0\0\6\0\0\0\1\0\0\0\7\0\0\0\6\0\0\0", 32),
         std::string("zero\0\0\0three\0", 13)},
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

// Invalid lists write nothing; a write that fails half-way leaves no
// partial files.
TEST_F(LanguageWriterTest, InvalidTextListsAndFailedWritesLeaveNoFiles) {
    const LanguageText duplicate[] = {{2, "a"}, {0, "b"}, {2, "c"}};
    const LanguageText negative[] = {{0, "a"}, {-1, "b"}};
    const LanguageText nullText[] = {{0, nullptr}};
    EXPECT_FALSE(WriteLanguageTable(Base().c_str(), duplicate, 3));
    EXPECT_FALSE(WriteLanguageTable(Base().c_str(), negative, 2));
    EXPECT_FALSE(WriteLanguageTable(Base().c_str(), nullText, 1));
    EXPECT_FALSE(WriteLanguageTable(Base().c_str(), nullptr, 1));
    EXPECT_TRUE(NoTable(Base()));

    // The pool's name is taken by a folder: the index opens, the pool does not.
    ASSERT_TRUE(std::filesystem::create_directory(Base() + ".poo"));
    EXPECT_FALSE(WriteLanguageTable(Base().c_str(), duplicate + 1, 1));
    EXPECT_FALSE(Exists(Base() + ".sif"));
    EXPECT_TRUE(std::filesystem::is_directory(Base() + ".poo"));
    TextIndexEntry record = {0, 2};
    EXPECT_FALSE(WriteRawLanguageTable(Base().c_str(), &record, 1, "a", 2));
    EXPECT_FALSE(Exists(Base() + ".sif"));

    EXPECT_FALSE(WriteLanguageTable(m_dir.File("absent/lang").c_str(), duplicate + 1, 1));
}

} // namespace
