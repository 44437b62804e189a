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

struct LinkProperties {
    HRESULT loaded = E_FAIL;
    std::string target;
    std::string description;
    std::string workingDirectory;
};

// Reads a link file back with IShellLinkA / IPersistFile::Load.
LinkProperties ReadLink(const std::string& path) {
    LinkProperties properties;
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        WCHAR widePath[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
        properties.loaded = file->Load(widePath, STGM_READ);
        char text[MAX_PATH] = "";
        link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
        properties.target = text;
        text[0] = '\0';
        link->GetDescription(text, sizeof text);
        properties.description = text;
        text[0] = '\0';
        link->GetWorkingDirectory(text, sizeof text);
        properties.workingDirectory = text;
        file->Release();
        link->Release();
    }
    CoUninitialize();
    return properties;
}

// The link at `path` loads and has these three properties.
void ExpectLink(const std::string& path, const std::string& target, const std::string& description,
                const std::string& workingDirectory) {
    SCOPED_TRACE(path);
    LinkProperties link = ReadLink(path);
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
    ASSERT_EQ(setupTarget, ReadLink(link).target);

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
