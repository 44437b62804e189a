// The uninstall record: hostile and damaged records refused whole at their
// line, good ones read into the uninstaller's plan, and the writer's lines.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "install/UninstallRecord.h"

namespace {

const char kDir[] = "C:\\Games\\The Vellmor";
const std::string kHeader = kUninstallRecordHeader;
typedef std::vector<std::string> Paths;

struct Read {
    RecordVerdict verdict;
    RecordDamage damage;
    UninstallRecord* record;

    Read(const std::string& text, const char* dir = kDir) {
        verdict = ReadUninstallRecord(text.data(), text.size(), dir, &record, &damage);
    }
    ~Read() { FreeUninstallRecord(record); }
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
        {kHeader + "file a\r\nremove b\r\n", 3, "unknown keyword"},
        {kHeader + "File a\r\n", 2, "unknown keyword"},
        {kHeader + "\r\nfile a\r\n", 2, "empty line"},
        {kHeader + "file\r\n", 2, "empty path"},
        {kHeader + "file \r\n", 2, "empty path"},
        {kHeader + "file a\r\nfile C:\\Windows\\win.ini\r\n", 3, "absolute path"},
        {kHeader + "folder \\Windows\r\n", 2, "absolute path"},
        {kHeader + "file \\\\server\\share\\a\r\n", 2, "absolute path"},
        {kHeader + "file C:a\r\n", 2, "absolute path"},
        {kHeader + "file Maps\\..\\..\\a\r\n", 2, "'.' or '..' as a name"},
        {kHeader + "folder ..\r\n", 2, "'.' or '..' as a name"},
        {kHeader + "folder Maps\\.\r\n", 2, "'.' or '..' as a name"},
        {kHeader + "folder .. \r\n", 2, "name ending in a dot or space"},
        {kHeader + "file Maps\\a.\r\n", 2, "name ending in a dot or space"},
        {kHeader + "file  a\r\n", 2, "name beginning with a space"},
        {kHeader + "file Maps\\a:stream\r\n", 2, "character not allowed in a name"},
        {kHeader + "file Maps/a\r\n", 2, "'/' in a path"},
        {kHeader + "file Maps\\\\a\r\n", 2, "empty name"},
        {kHeader + "folder Maps\\\r\n", 2, "empty name"},
        {kHeader + "file a*\r\n", 2, "character not allowed in a name"},
        {kHeader + "file a\tb\r\n", 2, "control character"},
        {kHeader + "file a\rb\r\n", 2, "control character"},
        {kHeader + "file a\r\r\n", 2, "control character"},
        {kHeader + "file a" + std::string(1, '\0') + "b\r\nfile c\r\n", 2, "NUL byte"},
        {kHeader + "file a\r\nfile " + longName + "b\r\n", 3, "path too long"},
        {kHeader + "menu Programs\\The Vellmor\r\n", 2, "not an absolute path"},
        {kHeader + "menu C:\\\r\n", 2, "a drive root"},
        {kHeader + "menu \\\\server\\The Vellmor\r\n", 2, "a drive root"},
        {kHeader + "menu C:\\Windows\r\n", 2, "folder not named The Vellmor"},
        {kHeader + "menu C:\\Menu\\The Vellmor Mods\r\n", 2, "folder not named The Vellmor"},
        {kHeader + "menu C:\\Menu\\The Vellmor\\..\r\n", 2, "'.' or '..' as a name"},
        {kHeader + "menu C:\\..\\The Vellmor\r\n", 2, "'.' or '..' as a name"},
        {kHeader + "menu C:\\" + std::string(229, 'a') + "\\The Vellmor\r\n", 2, "path too long"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        Read read(c.record);
        EXPECT_EQ(RecordVerdict::Damaged, read.verdict);
        EXPECT_EQ(c.line, read.damage.line);
        EXPECT_STREQ(c.reason, read.damage.reason);
        EXPECT_EQ(nullptr, read.record);
    }
    // Just fits: "<dir>\<name>" and "<menu>\The Vellmor.lnk" are 259 long.
    Read longest(kHeader + "file " + longName + "\nmenu C:\\" + std::string(228, 'a') +
                 "\\The Vellmor\n");
    EXPECT_EQ(RecordVerdict::Accepted, longest.verdict);
}

TEST(UninstallRecord, ForeignInstallationFoldersAreRefused) {
    for (const char* dir : {"", "The Vellmor", "C:\\", "C:\\Games", "C:\\Games\\The Vellmor\\",
                            "C:\\Games\\The Vellmor Mods", "\\\\server\\The Vellmor",
                            "C:\\Games\\..\\The Vellmor", "\\\\?\\C:\\The Vellmor"}) {
        SCOPED_TRACE(dir);
        Read read(kHeader, dir);
        EXPECT_EQ(RecordVerdict::ForeignFolder, read.verdict);
        EXPECT_EQ(nullptr, read.record);
    }
    // "<dir>\Uninstall.log" one byte longer than a path buffer.
    Read tooLong(kHeader, ("C:\\" + std::string(231, 'a') + "\\The Vellmor").c_str());
    EXPECT_EQ(RecordVerdict::ForeignFolder, tooLong.verdict);
}

TEST(UninstallRecord, PlanListsEachPathOnceAndFoldersDeepestFirst) {
    const std::string dir = std::string(kDir) + "\\";
    const std::string menu = "C:\\Menu\\The Vellmor";
    const struct {
        std::string record;
        Paths files;
        Paths folders;
    } cases[] = {
        {kHeader, {}, {kDir}},
        {"; The Vellmor uninstall record 1", {}, {kDir}},
        // LF and CR-LF mixed, a last line without its end, repeats once.
        {kHeader + "folder Maps\nfile Maps\\A.map\r\nfolder Maps\\Old\nfile Vellmor.exe\r\n"
                   "file Maps\\A.map\nfolder Maps\nfolder Maps\\Old\\Older\r\nfile maps\\a.map",
         {dir + "Maps\\A.map", dir + "Vellmor.exe", dir + "maps\\a.map"},
         {dir + "Maps\\Old\\Older", dir + "Maps\\Old", dir + "Maps", kDir}},
        {kHeader + "menu " + menu + "\r\nfile Uninstall.log\r\nmenu " + menu + "\r\n",
         {dir + "Uninstall.log", menu + "\\Setup.lnk", menu + "\\The Vellmor.lnk"},
         {kDir, menu}},
        {kHeader + "menu \\\\server\\share\\Start Menu\\the vellmor\r\n",
         {"\\\\server\\share\\Start Menu\\the vellmor\\Setup.lnk",
          "\\\\server\\share\\Start Menu\\the vellmor\\The Vellmor.lnk"},
         {"\\\\server\\share\\Start Menu\\the vellmor", kDir}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        Read read(c.record);
        ASSERT_EQ(RecordVerdict::Accepted, read.verdict) << read.damage.reason;
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
        {RecordEntryKind::Menu, "C:\\Menu\\The Vellmor", "menu C:\\Menu\\The Vellmor\r\n"},
        {RecordEntryKind::File, "Maps\\A.map", nullptr},
        {RecordEntryKind::File, "", ""},
        {RecordEntryKind::File, "..\\Vellmor.exe", ""},
        {RecordEntryKind::Folder, "C:\\Games", ""},
        {RecordEntryKind::File, "a\r\nfile C:\\Windows\\win.ini", ""},
        {RecordEntryKind::File, std::string(260 - sizeof kDir, 'a'), ""},
        {RecordEntryKind::Menu, "C:\\Menu", ""},
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
    EXPECT_EQ(5u, read.record->entryCount);
    EXPECT_EQ(RecordEntryKind::Menu, read.record->entries[4].kind);
    EXPECT_STREQ("C:\\Menu\\The Vellmor", read.record->entries[4].path);
}

} // namespace
