// The path rules, the uninstall record and cut texts in the double-byte
// code pages of Japanese, Chinese and Korean Windows, where the second byte
// of a character may be a backslash or an ASCII letter.

#include <string>

#include <gtest/gtest.h>

#include "common/PathRules.h"
#include "install/InstallPaths.h"
#include "text/CodePage.h"
#include "text/LocalText.h"
#include "record/UninstallRecord.h"

namespace {

// Lead-byte ranges as GetCPInfo gives them (and as the code pages' tables
// on Microsoft's site list them).
const unsigned char k932[] = {0x81, 0x9F, 0xE0, 0xFC, 0, 0};
const unsigned char k936[] = {0x81, 0xFE, 0, 0};
const unsigned char k949[] = {0x81, 0xFE, 0, 0};
const unsigned char k950[] = {0x81, 0xFE, 0, 0};

// The code page of a test, for its length; single-byte again after it.
struct CodePage {
    explicit CodePage(const unsigned char* leadRanges) { SetCodePage(leadRanges, nullptr); }
    ~CodePage() { SetCodePage(nullptr, nullptr); }
};

// The one folder that exists for NearestExistingFolder.
std::string existing;

// Characters whose second byte is a backslash: 表 ソ 能 十 予 in 932, 乗 in
// 936, 功 許 蓋 in 950 (949 has none).
const struct {
    const unsigned char* codePage;
    const char* name;
} kBackslashSeconds[] = {
    {k932, "\x95\x5C"}, {k932, "\x83\x5C"}, {k932, "\x94\x5C"},
    {k932, "\x8F\x5C"}, {k932, "\x97\x5C"}, {k936, "\x81\x5C"},
    {k950, "\xA5\x5C"}, {k950, "\xB3\x5C"}, {k950, "\xBB\x5C"},
};

TEST(DoubleBytePaths, NameEndingInABackslashByteIsOneName) {
    for (const auto& c : kBackslashSeconds) {
        CodePage codePage(c.codePage);
        const std::string x = std::string("C:\\") + c.name; // "C:\表"
        SCOPED_TRACE(x);
        PathBuffer root, nearest;
        existing = x + "\\";
        ASSERT_EQ(RootRule::Derived, DeriveInstallRoot(x.c_str(), root));
        EXPECT_EQ(x, root);
        PathBuffer installDir;
        ASSERT_TRUE(InstallFolderFor(x.c_str(), installDir));
        EXPECT_EQ(x + "\\The Vellmor", installDir);
        // The product folder is cut only after a backslash of its own.
        ASSERT_EQ(RootRule::Derived, DeriveInstallRoot((x + "\\The Vellmor\\").c_str(), root));
        EXPECT_EQ(x + "\\", root);
        ASSERT_EQ(RootRule::Derived, DeriveInstallRoot((x + "The Vellmor").c_str(), root));
        EXPECT_EQ(x + "The Vellmor", root);
        RootOfRecordedFolder((x + "\\The Vellmor").c_str(), root);
        EXPECT_EQ(x, root);
        RootOfRecordedFolder((x + "The Vellmor").c_str(), root);
        EXPECT_EQ(x + "The Vellmor", root);

        EXPECT_TRUE(IsSameOrBelow(x.c_str(), x.c_str()));
        EXPECT_TRUE(IsSameOrBelow((x + "\\a").c_str(), x.c_str()));
        EXPECT_FALSE(IsSameOrBelow((x + "X").c_str(), x.c_str()));

        // The space check climbs by whole names; a server's name is one.
        auto exists = [](const char* folder) { return existing == folder; };
        EXPECT_TRUE(NearestExistingFolder((x + "\\New\\Deeper").c_str(), exists, nearest));
        EXPECT_EQ(x + "\\", nearest);
        EXPECT_TRUE(NearestExistingFolder(x.c_str(), exists, nearest));
        EXPECT_EQ(x + "\\", nearest);
        EXPECT_TRUE(IsAbsolutePath((std::string("\\\\") + c.name + "\\share").c_str()));
        EXPECT_FALSE(IsAbsolutePath((std::string("\\\\") + c.name).c_str()));
    }
}

TEST(DoubleBytePaths, SecondBytesAreNeverFoldedAsLetters) {
    for (const unsigned char* pages : {k932, k936, k949, k950}) {
        CodePage codePage(pages);
        // 、 and ∥ in 932; 丄 and 乤 in 936; 갂 and 갵 in 949.
        const std::string upper = "C:\\Games\\\x81"
                                  "A",
                          lower = "c:\\GAMES\\\x81"
                                  "a";
        EXPECT_FALSE(IsSamePath(upper.c_str(), lower.c_str()));
        EXPECT_TRUE(IsSamePath((upper + "B").c_str(), (upper + "b").c_str()));
        EXPECT_FALSE(IsSameOrBelow((lower + "\\x").c_str(), upper.c_str()));
    }
}

TEST(DoubleByteTexts, CutsKeepWholeCharacters) {
    CodePage codePage(k932);
    char buffer[4];
    EXPECT_FALSE(CopyText(buffer, sizeof buffer, "ab\x95\x5C"));
    EXPECT_STREQ("ab", buffer);
    EXPECT_FALSE(FormatText(buffer, sizeof buffer, "%s",
                            "a\x95\x5C"
                            "b"));
    EXPECT_STREQ("a\x95\x5C", buffer);
    const char* inserts[] = {"x\x83\x5C"};
    EXPECT_FALSE(FormatInserts(buffer, sizeof buffer, "a%1", inserts, 1));
    EXPECT_STREQ("ax", buffer);
    EXPECT_EQ(nullptr, FindChar("\x95\x5C"
                                "a",
                                3, '\\'));
    EXPECT_STREQ("\\b", FindLastChar("\x95\x5C\\b", '\\'));
}

TEST(DoubleByteRecord, NamesAreReadByCharacter) {
    CodePage codePage(k932);
    const std::string dir = "C:\\\x95\x5C\\The Vellmor"; // C:\表\The Vellmor
    const std::string header = std::string(kUninstallRecordHeader) + "install " + dir + "\r\n";
    // ソ, ソ\a.txt, and ポ, whose second byte is '|'.
    CUninstallRecord record;
    RecordDamage damage;
    const std::string good =
        header + "folder \x83\x5C\r\nfile \x83\x5C\\a.txt\r\nfile \x83\x7C\r\n";
    ASSERT_EQ(RecordVerdict::Accepted,
              ReadUninstallRecord(good.data(), good.size(), nullptr, record, &damage))
        << damage.reason;
    EXPECT_EQ(dir, record->installDir);
    ASSERT_EQ(2u, record->folderCount);
    EXPECT_EQ(dir + "\\\x83\x5C", record->folders[0]);
    EXPECT_TRUE(IsRecordOf(good.data(), good.size(), dir.c_str()));

    const std::string broken = header + "file a\x95\r\n";
    EXPECT_EQ(RecordVerdict::Damaged,
              ReadUninstallRecord(broken.data(), broken.size(), nullptr, record, &damage));
    EXPECT_STREQ("broken double-byte character", damage.reason);
}

} // namespace
