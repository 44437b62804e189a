// Start Menu links written with CreateShortcut into the prefix's real
// Programs folder and read back through the shell's own link object.

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include "E2e.h"
#include "app/SetupDlg.h"
#include "install/Shortcut.h"

using namespace e2e;

namespace {

// The link at `path` loads and has these three properties.
void ExpectLink(const std::string& path, const std::string& target, const std::string& description,
                const std::string& workingDirectory) {
    SCOPED_TRACE(path);
    ShellLinkInfo link = ReadShellLink(path);
    EXPECT_EQ(S_OK, link.loaded);
    EXPECT_EQ(target, link.target);
    EXPECT_EQ(description, link.description);
    EXPECT_EQ(workingDirectory, link.workingDirectory);
}

// An installation as the installer leaves it: the two programs the links
// start, below C:\Games.
const char kInstallDir[] = "C:\\Games\\The Vellmor";

void InstallPrograms() {
    MakeFolders(kInstallDir);
    CopyOneFile(StubExe(), JoinPath(kInstallDir, "Setup.exe"));
    CopyOneFile(StubExe(), JoinPath(kInstallDir, "Vellmor.exe"));
}

std::string ProgramsFolder() {
    CSetupDlg dialog;
    char path[MAX_PATH] = "";
    EXPECT_TRUE(dialog.GetProgramsFolder(path));
    return path;
}

// True when the calling thread has no COM initialisation left: a new one
// then answers S_OK rather than S_FALSE. Leaves the thread as it was.
bool ComIsUninitialised() {
    HRESULT r = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(r))
        CoUninitialize();
    return r == S_OK;
}

} // namespace

TEST(ProgramsFolder, IsTheStartMenuProgramsFolder) {
    std::string folder = ProgramsFolder();
    EXPECT_TRUE(FolderExists(folder)) << folder;
    const std::string tail = "\\Start Menu\\Programs";
    ASSERT_GE(folder.size(), tail.size());
    EXPECT_EQ(tail, folder.substr(folder.size() - tail.size()));
}

TEST(ProgramsFolder, UnavailableFolderLeavesThePathUntouched) {
    // The Programs folder redirected to a drive that does not exist: the
    // shell gives no item list.
    const char kUserFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User "
                                "Shell Folders";
    const std::string nowhere = "Q:\\nowhere\\Programs";
    WriteValue(HKEY_CURRENT_USER, kUserFolders, "Programs", REG_EXPAND_SZ, nowhere.c_str(),
               static_cast<DWORD>(nowhere.size() + 1));
    ProbeAnswers answers = RunProbe("programs-folder");
    EXPECT_EQ("0", answers["programs-found"]);
    EXPECT_EQ("(untouched)", answers["programs"]);
}

TEST(Shortcut, TheInstallationsTwoLinksReadBack) {
    InstallPrograms();
    std::string menu = JoinPath(ProgramsFolder(), kProductFolder);
    MakeFolders(menu);
    const std::string setupTarget = std::string(kInstallDir) + "\\Setup.exe";
    const std::string gameTarget = std::string(kInstallDir) + "\\Vellmor.exe";

    HRESULT setup =
        CreateShortcut(setupTarget.c_str(), (menu + "\\Setup.lnk").c_str(), "Setup", kInstallDir);
    // Each call leaves COM as it found it: uninitialised.
    EXPECT_TRUE(ComIsUninitialised());
    HRESULT game = CreateShortcut(gameTarget.c_str(), (menu + "\\The Vellmor.lnk").c_str(),
                                  "The Vellmor", kInstallDir);
    EXPECT_TRUE(ComIsUninitialised());
    ASSERT_GE(setup, 0);
    ASSERT_GE(game, 0);

    ExpectLink(menu + "\\Setup.lnk", setupTarget, "Setup", kInstallDir);
    ExpectLink(menu + "\\The Vellmor.lnk", gameTarget, "The Vellmor", kInstallDir);
}

TEST(Shortcut, MissingLinkFolderGivesFailureAndNoFile) {
    InstallPrograms();
    std::string folder = JoinPath(ScratchFolder(), "not-there");
    std::string link = folder + "\\Setup.lnk";
    HRESULT r = CreateShortcut((std::string(kInstallDir) + "\\Setup.exe").c_str(), link.c_str(),
                               "Setup", kInstallDir);
    EXPECT_LT(r, 0);
    EXPECT_FALSE(FileExists(link));
    EXPECT_FALSE(FolderExists(folder)) << "no folders are made";
    EXPECT_TRUE(ComIsUninitialised());
}

// The shell link class's registration, which the failure scenarios break.
const char kLinkClassKey[] = "Software\\Classes\\CLSID\\{00021401-0000-0000-C000-000000000046}";

TEST(Shortcut, UnregisteredLinkClassIsReportedToTheDebugger) {
    InstallPrograms();
    std::string link = JoinPath(ScratchFolder(), "Setup.lnk");
    DeleteHklmTree(kLinkClassKey);
    DebugOutputCapture debugger;
    HRESULT r = CreateShortcut((std::string(kInstallDir) + "\\Setup.exe").c_str(), link.c_str(),
                               "Setup", kInstallDir);
    EXPECT_EQ(REGDB_E_CLASSNOTREG, r);
    EXPECT_FALSE(FileExists(link));
    EXPECT_TRUE(ComIsUninitialised());
    EXPECT_EQ(std::vector<std::string>{"Class not registered...\n"},
              debugger.Texts(GetCurrentProcessId()));
}

TEST(Shortcut, LinkClassThatCannotBeLoadedIsAnUnknownError) {
    InstallPrograms();
    std::string link = JoinPath(ScratchFolder(), "Setup.lnk");
    WriteHklmString(std::string(kLinkClassKey) + "\\InprocServer32", "", "C:\\nowhere\\gone.dll");
    DebugOutputCapture debugger;
    HRESULT r = CreateShortcut((std::string(kInstallDir) + "\\Setup.exe").c_str(), link.c_str(),
                               "Setup", kInstallDir);
    EXPECT_LT(r, 0);
    EXPECT_NE(REGDB_E_CLASSNOTREG, r);
    EXPECT_FALSE(FileExists(link));
    EXPECT_TRUE(ComIsUninitialised());
    EXPECT_EQ(std::vector<std::string>{"Unknown error...\n"},
              debugger.Texts(GetCurrentProcessId()));
}

TEST(Shortcut, SuccessWritesNothingToTheDebugger) {
    InstallPrograms();
    DebugOutputCapture debugger;
    EXPECT_EQ(S_OK,
              CreateShortcut((std::string(kInstallDir) + "\\Setup.exe").c_str(),
                             JoinPath(ScratchFolder(), "Setup.lnk").c_str(), "Setup", kInstallDir));
    EXPECT_EQ(std::vector<std::string>{}, debugger.Texts(GetCurrentProcessId()));
}

TEST(Shortcut, ExistingLinkIsSavedOver) {
    InstallPrograms();
    std::string folder = JoinPath(ScratchFolder(), "menu");
    MakeFolders(folder);
    std::string link = folder + "\\The Vellmor.lnk";
    // Something that is no link at all, then a link to another program.
    WriteWholeFile(link, "left over from an earlier attempt");
    const std::string setupTarget = std::string(kInstallDir) + "\\Setup.exe";
    const std::string gameTarget = std::string(kInstallDir) + "\\Vellmor.exe";
    ASSERT_GE(CreateShortcut(setupTarget.c_str(), link.c_str(), "Setup", "C:\\"), 0);
    ASSERT_EQ(setupTarget, ReadShellLink(link).target);

    ASSERT_GE(CreateShortcut(gameTarget.c_str(), link.c_str(), "The Vellmor", kInstallDir), 0);
    ExpectLink(link, gameTarget, "The Vellmor", kInstallDir);
}

TEST(Shortcut, CallersComInitialisationIsLeftInForce) {
    InstallPrograms();
    std::string folder = JoinPath(ScratchFolder(), "menu");
    MakeFolders(folder);
    ASSERT_EQ(S_OK, CoInitialize(nullptr));
    HRESULT r = CreateShortcut((std::string(kInstallDir) + "\\Setup.exe").c_str(),
                               (folder + "\\Setup.lnk").c_str(), "Setup", kInstallDir);
    EXPECT_GE(r, 0);
    // Still initialised: a further initialisation only counts up (S_FALSE),
    // and objects can still be made.
    HRESULT again = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(S_FALSE, again);
    if (SUCCEEDED(again))
        CoUninitialize();
    IShellLinkA* link = nullptr;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkA, reinterpret_cast<void**>(&link)));
    if (link)
        link->Release();
    CoUninitialize();
    EXPECT_TRUE(ComIsUninitialised());
}
