// Start Menu links written with CreateShortcut into the prefix's real
// Programs folder and read back through the shell's own link object.

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include "E2e.h"
#include "common/Names.h"
#include "common/Shortcut.h"

using namespace e2e;

namespace {

// An installation as the installer leaves it: the two programs the links
// start, below C:\Games.
const std::string kInstallDir = "C:\\Games\\The Vellmor";
const std::string kSetupTarget = kInstallDir + "\\Setup.exe";
const std::string kGameTarget = kInstallDir + "\\Vellmor.exe";

void InstallPrograms(Where where = Where::Here()) {
    MakeFolders(kInstallDir, where);
    CopyOneFile(StubExe(), kSetupTarget, where);
    CopyOneFile(StubExe(), kGameTarget, where);
}

// The installation's Setup link, written at `link`.
HRESULT CreateSetupLink(const std::string& link) {
    return CreateShortcut(kSetupTarget.c_str(), link.c_str(), "Setup", kInstallDir.c_str());
}

std::string ProgramsFolder(Where where = Where::Here()) {
    const auto trace = where.Trace();
    char path[MAX_PATH] = "";
    EXPECT_TRUE(ProgramsFolderFor(nullptr, path));
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
    // Every user's, not the one of the account that setup runs as.
    char common[MAX_PATH] = "";
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, common, CSIDL_COMMON_PROGRAMS, FALSE));
    EXPECT_EQ(common, folder);
    const std::string tail = "\\Start Menu\\Programs";
    ASSERT_GE(folder.size(), tail.size());
    EXPECT_EQ(tail, folder.substr(folder.size() - tail.size()));
}

TEST(ProgramsFolder, UnavailableFolderLeavesThePathUntouched) {
    // The shell gives no item list for it.
    ProgramsFolderOnMissingDrive unavailable;
    ProbeAnswers answers = RunProbe("programs-folder");
    EXPECT_EQ("0", answers["programs-found"]);
    EXPECT_EQ("(untouched)", answers["programs"]);
}

TEST(Shortcut, TheInstallationsTwoLinksReadBack) {
    InstallPrograms();
    std::string menu = JoinPath(ProgramsFolder(), kProductFolder);
    MakeFolders(menu);

    HRESULT setup = CreateSetupLink(menu + "\\Setup.lnk");
    // Each call leaves COM as it found it: uninitialised.
    EXPECT_TRUE(ComIsUninitialised());
    HRESULT game = CreateShortcut(kGameTarget.c_str(), (menu + "\\The Vellmor.lnk").c_str(),
                                  "The Vellmor", kInstallDir.c_str());
    EXPECT_TRUE(ComIsUninitialised());
    ASSERT_GE(setup, 0);
    ASSERT_GE(game, 0);

    ExpectLink(menu + "\\Setup.lnk", kSetupTarget, "Setup", kInstallDir);
    ExpectLink(menu + "\\The Vellmor.lnk", kGameTarget, "The Vellmor", kInstallDir);
}

TEST(Shortcut, MissingLinkFolderGivesFailureAndNoFile) {
    InstallPrograms();
    std::string folder = JoinPath(ScratchFolder(), "not-there");
    std::string link = folder + "\\Setup.lnk";
    EXPECT_LT(CreateSetupLink(link), 0);
    EXPECT_FALSE(FileExists(link));
    EXPECT_FALSE(FolderExists(folder)) << "no folders are made";
    EXPECT_TRUE(ComIsUninitialised());
}

TEST(Shortcut, SuccessWritesNothingToTheDebugger) {
    InstallPrograms();
    DebugOutputCapture debugger;
    EXPECT_EQ(S_OK, CreateSetupLink(JoinPath(ScratchFolder(), "Setup.lnk")));
    EXPECT_EQ(std::vector<std::string>{}, debugger.Texts());
}

namespace {

// The shell link class's registration, which the failure scenarios break.
const char kLinkClassKey[] = "Software\\Classes\\CLSID\\{00021401-0000-0000-C000-000000000046}";

// CreateSetupLink where the shell link class cannot be made: a failure, no
// file, COM as it was, and `debugText` to the debugger. Gives the result.
HRESULT FailedLinkCreation(const char* debugText) {
    std::string link = JoinPath(ScratchFolder(), "Setup.lnk");
    DebugOutputCapture debugger;
    HRESULT r = CreateSetupLink(link);
    EXPECT_LT(r, 0);
    EXPECT_FALSE(FileExists(link));
    EXPECT_TRUE(ComIsUninitialised());
    EXPECT_EQ(std::vector<std::string>{debugText}, debugger.Texts());
    return r;
}

} // namespace

TEST(Shortcut, UnregisteredLinkClassIsReportedToTheDebugger) {
    InstallPrograms();
    DeleteHklmTree(kLinkClassKey);
    EXPECT_EQ(REGDB_E_CLASSNOTREG, FailedLinkCreation("Class not registered...\n"));
}

TEST(Shortcut, LinkClassThatCannotBeLoadedIsAnUnknownError) {
    InstallPrograms();
    WriteHklmString(std::string(kLinkClassKey) + "\\InprocServer32", "", "C:\\nowhere\\gone.dll");
    EXPECT_NE(REGDB_E_CLASSNOTREG, FailedLinkCreation("Unknown error...\n"));
}

TEST(Shortcut, ExistingLinkIsSavedOver) {
    InstallPrograms();
    std::string folder = JoinPath(ScratchFolder(), "menu");
    MakeFolders(folder);
    std::string link = folder + "\\The Vellmor.lnk";
    // Something that is no link at all, then a link to another program.
    WriteWholeFile(link, "left over from an earlier attempt");
    ASSERT_GE(CreateShortcut(kSetupTarget.c_str(), link.c_str(), "Setup", "C:\\"), 0);
    ASSERT_EQ(kSetupTarget, ReadShellLink(link).target);

    ASSERT_GE(CreateShortcut(kGameTarget.c_str(), link.c_str(), "The Vellmor", kInstallDir.c_str()),
              0);
    ExpectLink(link, kGameTarget, "The Vellmor", kInstallDir);
}

TEST(Shortcut, CallersComInitialisationIsLeftInForce) {
    InstallPrograms();
    std::string folder = JoinPath(ScratchFolder(), "menu");
    MakeFolders(folder);
    ASSERT_EQ(S_OK, CoInitialize(nullptr));
    EXPECT_GE(CreateSetupLink(folder + "\\Setup.lnk"), 0);
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
