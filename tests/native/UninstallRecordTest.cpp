// The uninstall record: hostile and damaged records refused whole at their
// line, good ones read into the uninstaller's plan, and the writer's lines;
// and the WININIT.INI line that deletes a file on Windows 95 and 98.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "record/UninstallRecord.h"
#include "uninstall/WininitEdit.h"

namespace {

const char kDir[] = "C:\\Games\\The Vellmor";
const char kMenu[] = "C:\\Menu\\The Vellmor";
const std::string kFirstLine = kUninstallRecordHeader;
// The first two lines: the header and the installation folder.
const std::string kHeader = kFirstLine + "install " + kDir + "\r\n";
typedef std::vector<std::string> Paths;

struct Read {
    RecordVerdict verdict;
    RecordDamage damage;
    CUninstallRecord record;

    Read(const std::string& text, const char* menu = kMenu) {
        verdict = ReadUninstallRecord(text.data(), text.size(), menu, record, &damage);
    }
    Paths Files() const { return Paths(record->files, record->files + record->fileCount); }
    Paths Folders() const { return Paths(record->folders, record->folders + record->folderCount); }
};

TEST(UninstallRecord, DamagedRecordsAreRefusedAtTheirLine) {
    const std::string longName(259 - sizeof kDir, 'a'); // "<dir>\<name>" is 259 long
    const char* const kWrongHeader = "not an uninstall record of this version";
    const struct {
        std::string record;
        size_t line;
        const char* reason;
    } cases[] = {
        {"", 1, kWrongHeader},
        {"; The Vellmor uninstall record 2\r\nfile a\r\n", 1, kWrongHeader},
        {"\xEF\xBB\xBF" + kHeader, 1, kWrongHeader},
        {kHeader + "file a\r\nremove b\r\n", 4, "unknown keyword"},
        {kHeader + "File a\r\n", 3, "unknown keyword"},
        {kHeader + "\r\nfile a\r\n", 3, "empty line"},
        {kHeader + "file\r\n", 3, "empty path"},
        {kHeader + "file \r\n", 3, "empty path"},
        {kHeader + "file a\r\nfile C:\\Windows\\win.ini\r\n", 4, "absolute path"},
        {kHeader + "folder \\Windows\r\n", 3, "absolute path"},
        {kHeader + "file \\\\server\\share\\a\r\n", 3, "absolute path"},
        {kHeader + "file C:a\r\n", 3, "absolute path"},
        {kHeader + "file Maps\\..\\..\\a\r\n", 3, "'.' or '..' as a name"},
        {kHeader + "folder ..\r\n", 3, "'.' or '..' as a name"},
        {kHeader + "folder Maps\\.\r\n", 3, "'.' or '..' as a name"},
        {kHeader + "folder .. \r\n", 3, "name ending in a dot or space"},
        {kHeader + "file Maps\\a.\r\n", 3, "name ending in a dot or space"},
        {kHeader + "file  a\r\n", 3, "name beginning with a space"},
        {kHeader + "file Maps\\a:stream\r\n", 3, "character not allowed in a name"},
        {kHeader + "file Maps/a\r\n", 3, "'/' in a path"},
        {kHeader + "file Maps\\\\a\r\n", 3, "empty name"},
        {kHeader + "folder Maps\\\r\n", 3, "empty name"},
        {kHeader + "file a*\r\n", 3, "character not allowed in a name"},
        {kHeader + "file a\tb\r\n", 3, "control character"},
        {kHeader + "file a\rb\r\n", 3, "control character"},
        {kHeader + "file a\r\r\n", 3, "control character"},
        {kHeader + "file a" + std::string(1, '\0') + "b\r\nfile c\r\n", 3, "NUL byte"},
        {kHeader + "file a\r\nfile " + longName + "b\r\n", 4, "path too long"},
        {kHeader + "menu Programs\\The Vellmor\r\n", 3, "not an absolute path"},
        {kHeader + "menu C:\\\r\n", 3, "a drive root"},
        {kHeader + "menu \\\\server\\The Vellmor\r\n", 3, "a drive root"},
        {kHeader + "menu C:\\Windows\r\n", 3, "folder not named The Vellmor"},
        {kHeader + "menu C:\\Menu\\The Vellmor Mods\r\n", 3, "folder not named The Vellmor"},
        {kHeader + "menu C:\\Menu\\The Vellmor\\..\r\n", 3, "'.' or '..' as a name"},
        {kHeader + "menu C:\\..\\The Vellmor\r\n", 3, "'.' or '..' as a name"},
        {kHeader + "menu C:\\" + std::string(229, 'a') + "\\The Vellmor\r\n", 3, "path too long"},
        // Device names as any part of a path, with an extension, in any case.
        {kHeader + "file CON\r\n", 3, "a device name"},
        {kHeader + "file Maps\\nul.txt\r\n", 3, "a device name"},
        {kHeader + "folder com1.map\\a\r\n", 3, "a device name"},
        {kHeader + "file LpT9\r\n", 3, "a device name"},
        {kHeader + "file aux .log\r\n", 3, "a device name"},
        {kHeader + "file COM\xB9\r\n", 3, "a device name"},
        {kHeader + "menu C:\\PRN\\The Vellmor\r\n", 3, "a device name"},
        {kFirstLine + "install C:\\Games\\Con\\The Vellmor\r\n", 2, "a device name"},
        // The menu only as the Start Menu folder that setup would make now.
        {kHeader + "menu C:\\Other Menu\\The Vellmor\r\n", 3, "not the Start Menu folder"},
        {kHeader + "menu \\\\server\\share\\Menu\\The Vellmor\r\n", 3, "not the Start Menu folder"},
        // The installation folder: the second line, once, absolute and
        // named like the product.
        {kFirstLine, 1, "no installation folder"},
        {kFirstLine + "file a\r\n", 2, "no installation folder"},
        {kHeader + "install C:\\Other\\The Vellmor\r\n", 3, "a second installation folder"},
        {kFirstLine + "install \r\n", 2, "empty path"},
        {kFirstLine + "install C:\\Games\r\n", 2, "folder not named The Vellmor"},
        {kFirstLine + "install C:\\\r\n", 2, "a drive root"},
        {kFirstLine + "install The Vellmor\r\n", 2, "not an absolute path"},
        {kFirstLine + "install \\\\server\\The Vellmor\r\n", 2, "a drive root"},
        {kFirstLine + "install C:\\Games\\..\\The Vellmor\r\n", 2, "'.' or '..' as a name"},
        {kFirstLine + "install \\\\?\\C:\\The Vellmor\r\n", 2, "not an absolute path"},
        {kFirstLine + "install C:\\" + std::string(246, 'a') + "\\The Vellmor\r\n", 2,
         "path too long"},
        // Refused unread: larger than any installation's record.
        {kHeader + std::string(kMaxRecordSize, 'f'), 0, "record too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        Read read(c.record);
        EXPECT_EQ(RecordVerdict::Damaged, read.verdict);
        EXPECT_EQ(c.line, read.damage.line);
        EXPECT_STREQ(c.reason, read.damage.reason);
        EXPECT_FALSE(read.record);
    }
    // Just fits: "<dir>\<name>" and "<menu>\The Vellmor.lnk" are 259 long.
    const std::string longMenu = "C:\\" + std::string(228, 'a') + "\\The Vellmor";
    Read longest(kHeader + "file " + longName + "\nmenu " + longMenu + "\n", longMenu.c_str());
    EXPECT_EQ(RecordVerdict::Accepted, longest.verdict);
    // Names that only begin like a device's.
    Read near(kHeader + "file CONSOLE\nfile COM10\nfile LPT\nfile NULL.txt\nfile COM0\n");
    EXPECT_EQ(RecordVerdict::Accepted, near.verdict) << near.damage.reason;
    // A machine without a Start Menu folder accepts no menu line.
    Read noMenu(kHeader + "menu " + kMenu + "\r\n", nullptr);
    EXPECT_EQ(RecordVerdict::Damaged, noMenu.verdict);
}

TEST(UninstallRecord, PlanListsEachPathOnceAndFoldersDeepestFirst) {
    const std::string dir = std::string(kDir) + "\\";
    const std::string menu = kMenu;
    const struct {
        std::string record;
        Paths files;
        Paths folders;
    } cases[] = {
        {kHeader, {}, {kDir}},
        {kFirstLine + "install C:\\games\\the vellmor", {}, {"C:\\games\\the vellmor"}},
        // LF and CR-LF mixed, a last line without its end, repeats once.
        {kHeader + "folder Maps\nfile Maps\\A.map\r\nfolder Maps\\Old\nfile Vellmor.exe\r\n"
                   "file Maps\\A.map\nfolder Maps\nfolder Maps\\Old\\Older\r\nfile maps\\a.map",
         {dir + "Maps\\A.map", dir + "Vellmor.exe", dir + "maps\\a.map"},
         {dir + "Maps\\Old\\Older", dir + "Maps\\Old", dir + "Maps", kDir}},
        // The menu in another case of its letters is the same folder.
        {kHeader + "menu " + menu + "\r\nfile Version.ver\r\nmenu c:\\menu\\the vellmor\r\n",
         {dir + "Version.ver", menu + "\\Setup.lnk", menu + "\\The Vellmor.lnk",
          "c:\\menu\\the vellmor\\Setup.lnk", "c:\\menu\\the vellmor\\The Vellmor.lnk"},
         {kDir, menu, "c:\\menu\\the vellmor"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        Read read(c.record);
        ASSERT_EQ(RecordVerdict::Accepted, read.verdict) << read.damage.reason;
        const size_t dir = c.record.find("\ninstall ") + 9;
        EXPECT_EQ(c.record.substr(dir, c.record.find_first_of("\r\n", dir) - dir),
                  read.record->installDir);
        EXPECT_EQ(c.files, read.Files());
        EXPECT_EQ(c.folders, read.Folders());
    }
}

// Installing again over an earlier copy: what is recorded is not listed
// twice, the rest extends the record and reads back; what the reader would
// refuse is never written.
TEST(UninstallRecord, WriterExtendsRecordThatReadsBack) {
    std::string record = kHeader + "file Vellmor.exe\r\nfolder Maps\r\n";
    const struct {
        RecordEntryKind kind;
        std::string path;
        const char* line; // null: already recorded; empty: refused
    } made[] = {
        {RecordEntryKind::File, "Vellmor.exe", nullptr},
        {RecordEntryKind::Folder, "Maps", nullptr},
        {RecordEntryKind::File, "Maps", "file Maps\r\n"},
        {RecordEntryKind::File, "Maps\\A.map", "file Maps\\A.map\r\n"},
        {RecordEntryKind::Menu, kMenu, "menu C:\\Menu\\The Vellmor\r\n"},
        {RecordEntryKind::File, "Maps\\A.map", nullptr},
        {RecordEntryKind::File, "", ""},
        {RecordEntryKind::File, "..\\Vellmor.exe", ""},
        {RecordEntryKind::Folder, "C:\\Games", ""},
        {RecordEntryKind::File, "a\r\nfile C:\\Windows\\win.ini", ""},
        {RecordEntryKind::File, std::string(260 - sizeof kDir, 'a'), ""},
        {RecordEntryKind::Menu, "C:\\Menu", ""},
        {RecordEntryKind::File, "Maps\\Nul", ""},
        {RecordEntryKind::Installation, "C:\\Games", ""},
    };
    for (const auto& m : made) {
        SCOPED_TRACE(m.path);
        bool recorded = RecordHasEntry(record.data(), record.size(), m.kind, m.path.c_str());
        EXPECT_EQ(m.line == nullptr, recorded);
        RecordLine line;
        EXPECT_EQ(m.line == nullptr || *m.line,
                  FormatRecordLine(line, kDir, m.kind, m.path.c_str()));
        if (!recorded) {
            EXPECT_STREQ(m.line, line);
            record += line;
        }
    }
    Read read(record);
    ASSERT_EQ(RecordVerdict::Accepted, read.verdict) << read.damage.reason;
    EXPECT_EQ(6u, read.record->entryCount);
    EXPECT_EQ(RecordEntryKind::Menu, read.record->entries[5].kind);
    EXPECT_STREQ(kMenu, read.record->entries[5].path);
}

// Each installation's uninstaller folder below Program Files: the same for
// the same folder in any case, another for another folder or attempt; a
// record there is told apart by its installation folder's line.
TEST(UninstallRecord, EachInstallationHasAHomeOfItsOwn) {
    const char kUninstallers[] = "C:\\Program Files\\Brightfen";
    auto home = [&](const char* dir, unsigned attempt = 0) {
        PathBuffer folder = "";
        EXPECT_TRUE(FormatUninstallerHome(folder, kUninstallers, dir, attempt)) << dir;
        return std::string(folder);
    };
    const std::string first = home(kDir);
    EXPECT_EQ(0u, first.find("C:\\Program Files\\Brightfen\\The Vellmor Uninstall ")) << first;
    EXPECT_EQ(first.size(),
              std::string("C:\\Program Files\\Brightfen\\The Vellmor Uninstall ").size() + 8);
    EXPECT_EQ(first, home("c:\\GAMES\\the vellmor"));
    EXPECT_NE(first, home("C:\\Other\\The Vellmor"));
    EXPECT_NE(first, home(kDir, 1));
    PathBuffer tooLong;
    EXPECT_FALSE(FormatUninstallerHome(tooLong, ("C:\\" + std::string(230, 'a')).c_str(), kDir, 0));

    for (const std::string& record :
         {kHeader, kHeader + "file a\r\n", kFirstLine + "install c:\\games\\THE VELLMOR"})
        EXPECT_TRUE(IsRecordOf(record.data(), record.size(), kDir)) << record;
    for (const std::string& record :
         {std::string(), kFirstLine, kFirstLine + "install C:\\Games\\The Vellmor Mods\r\n",
          kFirstLine + "install C:\\Other\\The Vellmor\r\n", kFirstLine + "file a\r\n"})
        EXPECT_FALSE(IsRecordOf(record.data(), record.size(), kDir)) << record;
}

// The deletion goes right below the [rename] header, whatever else the file
// holds; every other byte stays. "-" as the old text stands for no file.
TEST(WininitEdit, AddsTheLineBelowTheRenameHeaderAndKeepsEveryOtherByte) {
    const std::string kLine = "NUL=C:\\GAMES\\SETUP~1.EXE\r\n";
    const std::string kOther = "[other]\r\nkey=[rename]\r\n; [rename]\r\n";
    const std::string kNul = std::string("a\0b\r\n", 5);
    const struct {
        std::string old, edited;
    } cases[] = {
        {"-", "[rename]\r\n" + kLine},
        {"", "[rename]\r\n" + kLine},
        {"[rename]\r\nC:\\A=C:\\B\r\n", "[rename]\r\n" + kLine + "C:\\A=C:\\B\r\n"},
        {kOther + " [RENAME] \r\nx=y", kOther + " [RENAME] \r\n" + kLine + "x=y"},
        {"[rename]\nNUL=C:\\X\n[z]\n", "[rename]\n" + kLine + "NUL=C:\\X\n[z]\n"},
        {"[rename]", "[rename]\r\n" + kLine},
        {kOther, kOther + "[rename]\r\n" + kLine},
        {"[renamed]\r\nx", "[renamed]\r\nx\r\n[rename]\r\n" + kLine},
        {kNul + "[rename]\r\n", kNul + "[rename]\r\n" + kLine},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.old);
        bool none = c.old == "-";
        std::vector<char> edited(c.old.size() + kWininitGrowth, '#');
        size_t size = AddDeletionToWininit(none ? nullptr : c.old.data(), c.old.size(),
                                           "C:\\GAMES\\SETUP~1.EXE", edited.data(), edited.size());
        EXPECT_EQ(c.edited, std::string(edited.data(), size));
    }

    // Refused, so that nothing is written: a file over the read limit, and
    // a result that would not fit.
    std::string large(kLargestWininit + 1, 'x');
    std::vector<char> room(large.size() + kWininitGrowth);
    EXPECT_EQ(0u,
              AddDeletionToWininit(large.data(), large.size(), "C:\\A", room.data(), room.size()));
    EXPECT_EQ(0u, AddDeletionToWininit("[rename]\r\n", 10, "C:\\A", room.data(), 19));
    EXPECT_EQ(20u, AddDeletionToWininit("[rename]\r\n", 10, "C:\\A", room.data(), 20));
}

} // namespace
