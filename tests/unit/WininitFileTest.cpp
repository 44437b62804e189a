// WININIT.INI as the uninstaller edits it on Windows 95 and 98, in a scratch
// folder: edited whole through a file beside it, or left exactly as it was.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/FindFile.h"
#include "platform/WholeFile.h"
#include "uninstall/Removal.h"
#include "uninstall/WininitEdit.h"

namespace {

std::string Read(const std::string& path) {
    size_t size = 0;
    CHeapBlock<char> data = ReadWholeFile(path.c_str(), 2 * kLargestWininit, size);
    return data ? std::string(data.Get(), size) : "<none>";
}

// The names in `folder`, so that a file left beside WININIT.INI shows.
std::string Names(const std::string& folder) {
    std::string names;
    for (CFindFile entry((folder + "\\*").c_str()); entry.Found(); entry.Next()) {
        if (!entry.IsDots())
            names += std::string(entry.Name()) + " ";
    }
    return names;
}

TEST(WininitFile, EditedWholeOrLeftAsItWas) {
    char temp[MAX_PATH], folder[MAX_PATH];
    ASSERT_TRUE(GetTempPathA(MAX_PATH, temp));
    ASSERT_TRUE(GetTempFileNameA(temp, "wi", 0, folder));
    ASSERT_TRUE(DeleteFileA(folder) && CreateDirectoryA(folder, nullptr));
    const std::string ini = std::string(folder) + "\\WININIT.INI";
    const std::string kLine = "NUL=C:\\A\\B.EXE\r\n";

    EXPECT_TRUE(AddDeletionToIniFile(folder, ini.c_str(), "C:\\A\\B.EXE"));
    EXPECT_EQ("[rename]\r\n" + kLine, Read(ini));
    const std::string kept = "[x]\r\ny=z\r\n[rename]\r\nC:\\P=C:\\Q\r\n";
    ASSERT_TRUE(WriteWholeFile(ini.c_str(), kept.data(), kept.size()));
    EXPECT_TRUE(AddDeletionToIniFile(folder, ini.c_str(), "C:\\A\\B.EXE"));
    EXPECT_EQ("[x]\r\ny=z\r\n[rename]\r\n" + kLine + "C:\\P=C:\\Q\r\n", Read(ini));

    // Over the read limit: refused, the file untouched.
    const std::string large(kLargestWininit + 20, ';');
    ASSERT_TRUE(WriteWholeFile(ini.c_str(), large.data(), large.size()));
    EXPECT_FALSE(AddDeletionToIniFile(folder, ini.c_str(), "C:\\A\\B.EXE"));
    EXPECT_EQ(large, Read(ini));
    EXPECT_EQ("WININIT.INI ", Names(folder));

    DeleteFileA(ini.c_str());
    EXPECT_TRUE(RemoveDirectoryA(folder)) << Names(folder);
}

} // namespace
