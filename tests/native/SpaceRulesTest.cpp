// The space check's rules: what the copy adds, the folder whose drive is
// asked, and the figures of the question.

#include <string.h>

#include <gtest/gtest.h>

#include "common/PathRules.h"
#include "install/SpaceRules.h"

namespace {

// The space check: the figures.
TEST(SpaceRules, Figures) {
    // 4 GB in 64 KB clusters does not fit 32 bits.
    EXPECT_EQ(0x100000000ull, FreeBytesFromClusters(128, 512, 65536));
    EXPECT_EQ(0xFFFFFFFFull * 0xFFFF * 0xFFFF, FreeBytesFromClusters(0xFFFF, 0xFFFF, 0xFFFFFFFF));
    EXPECT_EQ(0u, MegabytesNeeded(0));
    EXPECT_EQ(1u, MegabytesNeeded(1));
    EXPECT_EQ(2u, MegabytesNeeded(1024 * 1024 + 1));
    EXPECT_EQ(1u, MegabytesFree(2 * 1024 * 1024 - 1));
    EXPECT_EQ(0xFFFFFFFFu, MegabytesNeeded(~0ull));
}

TEST(SpaceRules, NearestExistingFolderAndRoot) {
    auto exists = [](const char* folder) {
        for (const char* e : {"C:\\", "C:\\Games\\", "\\\\srv\\share\\", "\\\\srv\\share\\a\\"})
            if (strcmp(e, folder) == 0)
                return true;
        return false;
    };
    const struct {
        const char* path;
        const char* nearest; // null: refused
        const char* root;
    } cases[] = {
        {"C:\\Games\\New\\Deeper", "C:\\Games\\", "C:\\"},
        {"C:\\Games\\\\New\\", "C:\\Games\\", "C:\\"},
        {"C:\\Games", "C:\\Games\\", "C:\\"},
        {"C:\\Other", "C:\\", "C:\\"},
        {"C:\\", "C:\\", "C:\\"},
        {"D:\\Missing\\Root", "D:\\", "D:\\"},
        {"\\\\srv\\share\\a\\b", "\\\\srv\\share\\a\\", "\\\\srv\\share\\"},
        {"\\\\srv\\share\\x", "\\\\srv\\share\\", "\\\\srv\\share\\"},
        {"\\\\srv\\share", "\\\\srv\\share\\", "\\\\srv\\share\\"},
        {"Games\\New", nullptr, nullptr},
        {"C:Games", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        PathBuffer nearest, root;
        EXPECT_EQ(c.nearest != nullptr, NearestExistingFolder(c.path, exists, nearest));
        EXPECT_EQ(c.root != nullptr, RootOfPath(c.path, root));
        if (c.nearest) {
            EXPECT_STREQ(c.nearest, nearest);
            EXPECT_STREQ(c.root, root);
        }
    }
}

} // namespace
