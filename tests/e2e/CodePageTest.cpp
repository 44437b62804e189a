// Setup on a Japanese Windows (ANSI code page 932): a folder whose name
// ends in a character whose second byte is a backslash. Registered only
// with Wine in a Japanese locale (tests/e2e/CMakeLists.txt).

#include <gtest/gtest.h>

#include "E2e.h"
#include "common/Names.h"

using namespace e2e;

namespace {

const char kDisc = 'E';
const char kEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\The Vellmor";
const std::string kRoot = "C:\\\x95\x5C"; // C:\表
const std::string kInstallDir = kRoot + "\\The Vellmor";

// Whether the Unix side has `utf8Path` below drive C:, as Wine names the
// folders it made for the Windows names.
bool OnDriveC(const std::string& utf8Path) {
    return RunLinuxShell("test -e '" + LinuxPath("C:\\") + "/" + utf8Path + "'") == 0;
}

TEST(CodePage, JapaneseFolderInstallsUnattendedAndIsRemovedWhole) {
    ASSERT_EQ(932u, GetACP()) << "Wine runs in the Japanese locale (LC_ALL=ja_JP.UTF-8)";
    // A language named ソ, whose second byte is a backslash too.
    const std::string language = "\x83\x5C";
    InsertDisc(kDisc, Medium::Product().WithLanguage(language, EnglishTexts()));
    Process install = Process::Start(
        SetupExe(), {"/VERYSILENT \"/DIR=" + kRoot + "\" /LANG=" + language + " /LOG=C:\\setup.log",
                     "", false});
    ASSERT_TRUE(install.WaitForExit(kTimeoutMs));
    const std::string log = ReadWholeFile("C:\\setup.log");
    ASSERT_EQ(0u, install.ExitCode()) << log;
    for (const char* file : {kGameExe, kSetupExe, kVersionFile})
        EXPECT_TRUE(FileExists(JoinPath(kInstallDir, file))) << file;
    // The system reads the name as 表 and the folder below it, never as a
    // name of one byte followed by a backslash.
    EXPECT_TRUE(OnDriveC(u8"表/The Vellmor/Vellmor.exe"));
    EXPECT_FALSE(FolderExists(kRoot + "The Vellmor"));
    EXPECT_EQ(kInstallDir, ReadHklmValue(kRegistryKey, kInstallPathValue).AsString());
    EXPECT_EQ(kInstallDir, ReadHklmValue(kEntry, "InstallLocation").AsString());

    // Setup started again offers to run the game there, and shows the root.
    // (The system's buttons are Japanese: pressed by their ids.)
    Session setup;
    MessageBoxInfo question = setup.NextBox();
    PostClick(question.window, IDNO);
    ASSERT_TRUE(WaitForWindowGone(question.window, kTimeoutMs));
    ASSERT_TRUE(setup.WaitForDialog());
    EXPECT_EQ(kRoot, setup.Field());
    EXPECT_EQ(0u, setup.Exit());

    // The uninstaller reads its record and removes the folder, the player's
    // save in a folder named like the root kept.
    const std::string saves = kInstallDir + "\\\x83\x5C"; // ソ
    MakeFolders(saves);
    WriteWholeFile(saves + "\\slot.sav", "saved");
    const std::string command = ReadHklmValue(kEntry, "QuietUninstallString").AsString();
    const std::string uninstaller = command.substr(1, command.find('"', 1) - 1);
    Process remove = Process::Start(uninstaller, {"/UNINSTALL /VERYSILENT", "C:\\", false});
    EXPECT_EQ(nullptr,
              windriver::WaitForDialogBoxWhileRunning(remove.Id(), remove.Handle(), nullptr));
    EXPECT_EQ(0u, remove.ExitCode());
    WaitForProgramsStartedBy(remove.Id());
    EXPECT_TRUE(FileExists(saves + "\\slot.sav"));
    EXPECT_FALSE(FileExists(JoinPath(kInstallDir, kGameExe)));
    EXPECT_FALSE(HklmKeyExists(kEntry));
}

} // namespace
