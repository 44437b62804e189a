// The Install command end to end: the real Setup.exe driven from outside on
// the test prefix, its results read back from the disk, the registry, the
// shell's link object and the stub programs' start log.

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <map>
#include <stdexcept>

#include "E2e.h"
#include "install/Names.h"
#include "res/resource.h"
#include "text/TextCatalogue.h"

using namespace e2e;

namespace {

const char kInstalledKey[] = "Software\\Brightfen\\The Vellmor";
const char kDisc = 'E';
const std::string kVersionBytes("\x0D\0\0\0\x01\0\0\0\0\0\0\0\0", 13);

// The installation's failure messages: text, caption, and whether the box
// shows an icon (the stop icon; another process can only tell that there is
// one). Without a caption of its own a box shows the application's name.
struct Failure {
    const char* text;
    const char* caption;
    bool icon;
};
const Failure kRootFailed = {"Could not create the destination root folder", "Error", true};
const Failure kPathTooLong = {"The destination folder's path is too long.", "Error", true};
const Failure kVersionFailed = {"Could not create the Version file!", "Setup", false};
const Failure kCancelled = {"Installation Cancelled.", "Cancelled", false};
const Failure kShortcutFailed = {"Could not create the shortcut on the Start Menu.",
                                 "Shortcut Error", false};

// A language of the disc and the texts the tests look for.
struct Language {
    const char* name;
    const char* install; // the Install button
    const char* done;    // the completion message and its caption
    const char* doneCaption;
};
const Language kEnglish = {"English", "Install", "The Vellmor has been installed.",
                           "Setup complete"};
const Language kGerman = {"Deutsch", "Installieren", "The Vellmor wurde installiert.",
                          "Installation abgeschlossen"};

// The second language's table: its texts differ from the English ones
// wherever the tests look.
Texts GermanTexts() {
    return {
        {TXT_DIALOG_TITLE, "The Vellmor Installation"},
        {TXT_INSTALL_TO, "Installieren nach:"},
        {TXT_BROWSE, "Durchsuchen..."},
        {TXT_INSTALL, kGerman.install},
        {TXT_EXIT, "Beenden"},
        {TXT_INSTALL_DONE, kGerman.done},
        {TXT_INSTALL_DONE_CAPTION, kGerman.doneCaption},
        {TXT_RUN_INSTALLED, "The Vellmor ist bereits installiert. Jetzt starten?"},
        {TXT_RUN_INSTALLED_CAPTION, "The Vellmor"},
        {TXT_LANGUAGE_SELECTION, "Sprache:"},
    };
}

std::string MediumPath(const std::string& relative) {
    return JoinPath(DriveFolder(kDisc), relative);
}

// --- Linux-side steps -----------------------------------------------------

// A folder without write permission, which is how Wine shows a read-only
// folder (its SetFileAttributes keeps no read-only bit on folders).
void MakeFolderReadOnly(const std::string& folder) {
    ASSERT_EQ(0u, RunLinuxShell("chmod a-w '" + LinuxPath(folder) + "'"));
    ASSERT_TRUE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_READONLY) << folder;
}

// lnkinfo's "Name : value" fields of a link, read on Linux by a reader that
// does not share the shell's code.
std::map<std::string, std::string> LnkinfoFields(const std::string& link) {
    std::string output = JoinPath(ScratchFolder(), "lnkinfo.txt");
    DWORD status =
        RunLinuxShell("lnkinfo '" + LinuxPath(link) + "' > '" + LinuxPath(output) + "' 2>&1");
    std::string text = ReadWholeFile(output);
    EXPECT_EQ(0u, status) << "lnkinfo (liblnk-utils, see scripts/deps.sh): " << text;
    std::map<std::string, std::string> fields;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        size_t colon = line.find(": ");
        if (colon != std::string::npos) {
            std::string name = line.substr(0, colon);
            name.erase(0, name.find_first_not_of(" \t"));
            name.erase(name.find_last_not_of(" \t") + 1);
            fields[name] = line.substr(colon + 2);
        }
        start = end + 1;
    }
    return fields;
}

// --- The setup dialog ------------------------------------------------------

// A failure message of the installation, owned by the setup dialog, with
// an OK button only.
void ExpectFailureBox(const MessageBoxInfo& box, HWND dialog, const Failure& failure) {
    ASSERT_TRUE(box.window) << "no message: " << failure.text;
    EXPECT_EQ(failure.text, box.text);
    EXPECT_EQ(failure.caption, box.caption);
    EXPECT_EQ(std::vector<std::string>{"OK"}, box.buttons);
    EXPECT_EQ(dialog, box.owner);
    EXPECT_EQ(failure.icon, box.icon != nullptr);
}

// A run of Setup.exe with the installation's own steps.
class SetupRun : public Session {
  public:
    using Session::ChooseLanguage;

    // Selects `language`; the dialog then shows that language's Install
    // text.
    void ChooseLanguage(const Language& language) {
        ChooseLanguage(language.name);
        ASSERT_EQ(language.install, ControlText(Dialog(), IDOK));
    }

    // Presses Install and gives the first box the installation shows.
    MessageBoxInfo Install() {
        Press(IDOK);
        return NextBox();
    }

    // Presses Enter in the install-path field: Install is the default button.
    MessageBoxInfo InstallByEnter() {
        HWND field = GetDlgItem(Dialog(), IDC_INSTALL_PATH);
        PostMessageA(field, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        PostMessageA(field, WM_KEYUP, VK_RETURN, 0xC01C0001);
        return NextBox();
    }

    // Presses Install where a copy exists, answers the shell's question
    // about replacing it with `answer`, and gives the next box.
    MessageBoxInfo InstallOverCopy(const std::string& answer) {
        MessageBoxInfo question = Install();
        EXPECT_EQ(Dialog(), question.owner) << "the shell did not ask: " << Describe(question);
        Answer(question, answer);
        return NextBox();
    }

    // After a failure: once Install's handler is done, the dialog is still
    // there, usable, and nothing more is shown.
    void ExpectDialogStaysOpen() {
        Drain();
        EXPECT_TRUE(Program().IsRunning());
        EXPECT_TRUE(IsWindow(Dialog()) && IsWindowVisible(Dialog()));
        for (HWND more : OtherBoxes())
            ADD_FAILURE() << "then " << Describe(ReadMessageBox(more));
        EXPECT_TRUE(IsWindowEnabled(Dialog()));
    }

    // Installs into `typed`, expects `failure` and answers it; the dialog
    // then stays open.
    void ExpectRefusal(const std::string& typed, const Failure& failure, bool byEnter = false) {
        SetField(typed);
        MessageBoxInfo box = byEnter ? InstallByEnter() : Install();
        ExpectFailureBox(box, Dialog(), failure);
        Answer(box, "OK");
        ExpectDialogStaysOpen();
    }

    // Confirms the completion message and checks that the program ends.
    void FinishWith(const MessageBoxInfo& done, const Language& language) {
        ASSERT_TRUE(done.window) << "no completion message";
        EXPECT_EQ(language.done, done.text);
        EXPECT_EQ(language.doneCaption, done.caption);
        EXPECT_EQ(std::vector<std::string>{"OK"}, done.buttons);
        EXPECT_EQ(nullptr, done.icon);
        EXPECT_EQ(Dialog(), done.owner);
        Answer(done, "OK");
        EXPECT_EQ(0u, WaitForEnd());
    }
};

// --- What an installation leaves behind -----------------------------------

std::string ProgramsFolder() {
    char path[MAX_PATH] = "";
    EXPECT_TRUE(SHGetSpecialFolderPathA(nullptr, path, CSIDL_PROGRAMS, FALSE));
    return path;
}

std::string MenuFolder() {
    return JoinPath(ProgramsFolder(), kProductFolder);
}

// Every file (with its contents) and folder (as "<folder>") below `folder`,
// by path relative to it.
void CollectTree(const std::string& folder, const std::string& prefix,
                 std::map<std::string, std::string>& tree) {
    ForEachEntry(folder, [&](const std::string& path, bool isFolder) {
        std::string name = prefix + path.substr(path.find_last_of('\\') + 1);
        if (isFolder) {
            tree[name] = "<folder>";
            CollectTree(path, name + "\\", tree);
        } else {
            tree[name] = ReadWholeFile(path);
        }
    });
}

std::map<std::string, std::string> Tree(const std::string& folder) {
    std::map<std::string, std::string> tree;
    CollectTree(folder, "", tree);
    return tree;
}

// What an installation from the disc holds on a machine without a Glide
// driver: the product folder without the Glide setup helper, the version
// file, the language pair and the disc's Glide library.
std::map<std::string, std::string> InstalledTreeWithoutDriver(const Language& language) {
    const std::string base = MediumPath(std::string("Languages\\") + language.name);
    std::map<std::string, std::string> tree = Tree(MediumPath(kProductFolder));
    tree.erase("SetupGlide.dll");
    tree["Version.ver"] = kVersionBytes;
    tree["language.poo"] = ReadWholeFile(base + ".poo");
    tree["language.sif"] = ReadWholeFile(base + ".sif");
    tree["Glide2x.dll"] = ReadWholeFile(MediumPath("Glide\\Glide2x.dll"));
    return tree;
}

// Paths below `folder` (the folder itself included) that carry the
// read-only attribute.
std::vector<std::string> ReadOnlyEntries(const std::string& folder) {
    std::vector<std::string> found;
    if (GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_READONLY)
        found.push_back(folder);
    ForEachEntry(folder, [&](const std::string& path, bool isFolder) {
        if (isFolder) {
            std::vector<std::string> below = ReadOnlyEntries(path);
            found.insert(found.end(), below.begin(), below.end());
        } else if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY) {
            found.push_back(path);
        }
    });
    return found;
}

std::vector<std::string> EntriesOf(const std::string& folder) {
    std::vector<std::string> names;
    ForEachEntry(folder, [&](const std::string& path, bool) { names.push_back(path); });
    return names;
}

// The Start Menu links of an installation: file, program, description.
const struct {
    const char* file;
    const char* program;
    const char* description;
} kMenuLinks[] = {{"Setup.lnk", "Setup.exe", "Setup"},
                  {"The Vellmor.lnk", "Vellmor.exe", "The Vellmor"}};

// Both Start Menu links of an installation in `installDir`, read by the
// shell's link object.
void ExpectMenuLinks(const std::string& installDir) {
    for (const auto& expected : kMenuLinks) {
        std::string path = JoinPath(MenuFolder(), expected.file);
        SCOPED_TRACE(path);
        ShellLinkInfo link = ReadShellLink(path);
        EXPECT_EQ(S_OK, link.loaded);
        EXPECT_EQ(installDir + "\\" + expected.program, link.target);
        EXPECT_EQ(expected.description, link.description);
        EXPECT_EQ(installDir, link.workingDirectory);
    }
}

// The same links read on Linux by lnkinfo.
void ExpectMenuLinksByLnkinfo(const std::string& installDir) {
    for (const auto& link : kMenuLinks) {
        SCOPED_TRACE(std::string("lnkinfo ") + link.file);
        std::map<std::string, std::string> fields =
            LnkinfoFields(JoinPath(MenuFolder(), link.file));
        EXPECT_EQ(installDir + "\\" + link.program, fields["Local path"]);
        EXPECT_EQ(link.description, fields["Description"]);
        EXPECT_EQ(installDir, fields["Working directory"]);
    }
}

// The registry value: a REG_SZ of exactly the text and its NUL.
void ExpectRecordedInstallation(const std::string& installDir) {
    RegistryValue value = ReadHklmValue(kInstalledKey, "InstallPath");
    ASSERT_TRUE(value.exists);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
    EXPECT_EQ(installDir + std::string(1, '\0'), std::string(value.data.begin(), value.data.end()));
}

void ExpectLanguagePair(const std::string& installDir, const Language& language) {
    for (const char* extension : {".poo", ".sif"}) {
        SCOPED_TRACE(extension);
        EXPECT_EQ(ReadWholeFile(MediumPath(std::string("Languages\\") + language.name + extension)),
                  ReadWholeFile(JoinPath(installDir, std::string("language") + extension)));
    }
}

// Nothing of an installation exists: no registry key, no Start Menu folder,
// no program started by `setup`.
void ExpectNothingRecorded(const Session& setup) {
    EXPECT_FALSE(HklmKeyExists(kInstalledKey));
    EXPECT_FALSE(FolderExists(MenuFolder()));
    WaitForProgramsStartedBy(setup.Id());
    EXPECT_TRUE(ReadStubStarts().empty());
}

// The one start of the installation's Setup.exe: quoted, in its folder.
void ExpectInstalledSetupStarted(const std::string& installDir) {
    std::vector<StubStart> starts = WaitForStubStarts(1);
    ASSERT_EQ(1u, starts.size());
    // The system may give the folders' names as they are on the disk.
    EXPECT_EQ(0, _stricmp((installDir + "\\Setup.exe").c_str(), starts[0].program.c_str()))
        << starts[0].program;
    EXPECT_EQ(installDir, starts[0].currentDirectory);
    EXPECT_EQ("\"" + installDir + "\\Setup.exe\"", starts[0].commandLine);
}

// While it lives, the user's Programs folder is registered on a drive that
// does not exist, so that the shell cannot give it.
class ProgramsFolderOnMissingDrive {
  public:
    ProgramsFolderOnMissingDrive() {
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          &key_) != ERROR_SUCCESS)
            throw std::runtime_error("no user shell folders");
        DWORD size = sizeof saved_;
        if (RegQueryValueExA(key_, "Programs", nullptr, &type_, saved_, &size) != ERROR_SUCCESS)
            throw std::runtime_error("no Programs folder registered");
        savedSize_ = size;
        const char missing[] = "Q:\\Start Menu\\Programs";
        RegSetValueExA(key_, "Programs", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(missing),
                       sizeof missing);
    }
    ~ProgramsFolderOnMissingDrive() {
        RegSetValueExA(key_, "Programs", 0, type_, saved_, savedSize_);
        RegCloseKey(key_);
    }
    ProgramsFolderOnMissingDrive(const ProgramsFolderOnMissingDrive&) = delete;
    ProgramsFolderOnMissingDrive& operator=(const ProgramsFolderOnMissingDrive&) = delete;

  private:
    static constexpr const char* kShellFolders =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    HKEY key_ = nullptr;
    DWORD type_ = REG_NONE;
    BYTE saved_[1024] = {};
    DWORD savedSize_ = 0;
};

// An installation without a Glide driver that completes: `done` is the
// completion message in `language`; then everything is in place.
void ExpectCompleteInstallation(SetupRun& setup, const MessageBoxInfo& done,
                                const std::string& installDir, const Language& language) {
    ExpectInstalledSetupStarted(installDir);
    setup.FinishWith(done, language);
    EXPECT_EQ(InstalledTreeWithoutDriver(language), Tree(installDir));
    ExpectRecordedInstallation(installDir);
    ExpectMenuLinks(installDir);
}

} // namespace

TEST(Install, FromReadOnlyDiscWithoutGlideDriver) {
    // The disc's own Glide setup helper, a nested folder and a second
    // language.
    InsertDisc(kDisc, Medium::Product()
                          .WithFile("The Vellmor\\SetupGlide.dll", "Glide setup helper")
                          .WithFile("The Vellmor\\Data\\Maps\\Start.map", "map data")
                          .WithFile("The Vellmor\\Data\\Readme.txt", "read me")
                          .WithLanguage(kGerman.name, GermanTexts())
                          .ReadOnlyFolders());
    for (const char* path : {"The Vellmor", "The Vellmor\\Data", "The Vellmor\\Vellmor.exe"})
        ASSERT_TRUE(GetFileAttributesA(MediumPath(path).c_str()) & FILE_ATTRIBUTE_READONLY) << path;
    // An existing, read-only install root.
    MakeFolders("C:\\Games");
    MakeFolderReadOnly("C:\\Games");

    SetupRun setup;
    ASSERT_TRUE(setup.WaitForDialog());
    ASSERT_FALSE(IsChecked(setup.Dialog(), IDC_GLIDE)) << "no Glide driver on this machine";
    setup.ChooseLanguage(kGerman);
    // Blanks around a text naming the product are trimmed, and the root
    // ends where the product name begins: "C:\Games\".
    setup.SetField("  C:\\Games\\The Vellmor\\ ");
    MessageBoxInfo done = setup.Install();
    // The installation's Setup.exe runs before the completion message.
    const std::string installDir = "C:\\Games\\The Vellmor";
    ExpectInstalledSetupStarted(installDir);
    setup.FinishWith(done, kGerman);

    EXPECT_EQ(InstalledTreeWithoutDriver(kGerman), Tree(installDir));
    EXPECT_EQ(std::vector<std::string>{}, ReadOnlyEntries(installDir));
    EXPECT_TRUE(GetFileAttributesA("C:\\Games") & FILE_ATTRIBUTE_READONLY)
        << "the install root's own attributes were changed";
    EXPECT_EQ(std::vector<std::string>{"C:\\Games\\The Vellmor"}, EntriesOf("C:\\Games"));

    ExpectRecordedInstallation(installDir);
    ExpectMenuLinks(installDir);
    EXPECT_EQ(2u, EntriesOf(MenuFolder()).size());
    ExpectMenuLinksByLnkinfo(installDir);
}

TEST(Install, GlideDriverPresentIntoProgramFilesWithPlantedProgram) {
    // A Glide driver the system finds, and a program where an unquoted
    // "C:\Program Files\..." command would start it.
    CopyOneFile(GlideDll(), SystemGlidePath());
    CopyOneFile(StubExe(), "C:\\Program.exe");
    InsertDisc(kDisc, Medium::Product().WithFile("The Vellmor\\SetupGlide.dll", "helper"));

    SetupRun setup;
    ASSERT_TRUE(setup.WaitForDialog());
    ASSERT_TRUE(IsChecked(setup.Dialog(), IDC_GLIDE)) << "the driver is present";
    ASSERT_EQ("C:\\Program Files", ControlText(setup.Dialog(), IDC_INSTALL_PATH));
    MessageBoxInfo done = setup.Install();
    const std::string installDir = "C:\\Program Files\\The Vellmor";
    ExpectInstalledSetupStarted(installDir);
    setup.FinishWith(done, kEnglish);

    EXPECT_EQ("helper", ReadWholeFile(JoinPath(installDir, "SetupGlide.dll")));
    EXPECT_FALSE(FileExists(JoinPath(installDir, "Glide2x.dll")));
    EXPECT_EQ(kVersionBytes, ReadWholeFile(JoinPath(installDir, "Version.ver")));
    ExpectLanguagePair(installDir, kEnglish);
    ExpectRecordedInstallation(installDir);
    ExpectMenuLinks(installDir);
    EXPECT_EQ(std::vector<std::string>{}, ReadOnlyEntries(installDir));
    // Nothing else was started, not even by what setup started.
    WaitForProgramsStartedBy(setup.Id());
    EXPECT_EQ(1u, ReadStubStarts().size());
}

TEST(Install, RootThatCannotBeCreatedLeavesTheDialogOpenUntilOneCan) {
    InsertDisc(kDisc, Medium::Product());
    MakeFolders("C:\\Games");
    WriteWholeFile("C:\\Busy", "a file where the root should be");
    std::vector<std::string> driveC = EntriesOf("C:\\");

    SetupRun setup;
    ASSERT_TRUE(setup.WaitForDialog());
    // Parents are not created. A file in the root's place is no folder to
    // install into.
    for (const char* typed : {"C:\\Missing\\Games", "C:\\Busy"}) {
        SCOPED_TRACE(typed);
        setup.ExpectRefusal(typed, kRootFailed);
        EXPECT_EQ(driveC, EntriesOf("C:\\"));
        EXPECT_EQ(std::vector<std::string>{}, EntriesOf("C:\\Games"));
        ExpectNothingRecorded(setup);
    }

    // Enter in the field runs the Install command as the button does.
    setup.ExpectRefusal("C:\\Missing\\Games", kRootFailed, true);

    // Trailing blanks alone: the system drops them from the root it
    // creates, but not inside the longer paths built on the root, so
    // the copy finds no such folder and nothing can be written in it.
    setup.ExpectRefusal("C:\\Games  ", kVersionFailed);
    EXPECT_EQ(std::vector<std::string>{}, EntriesOf("C:\\Games"));
    ExpectNothingRecorded(setup);

    // The product name is matched as written: in lower case it is part of
    // the root, and the product folder is made inside it.
    setup.SetField("c:\\games\\the vellmor");
    MessageBoxInfo done = setup.Install();
    const std::string installDir = "c:\\games\\the vellmor\\The Vellmor";
    ExpectInstalledSetupStarted(installDir);
    setup.FinishWith(done, kEnglish);
    EXPECT_EQ(std::vector<std::string>{"C:\\Games\\the vellmor"}, EntriesOf("C:\\Games"));
    EXPECT_EQ(std::vector<std::string>{"C:\\Games\\the vellmor\\The Vellmor"},
              EntriesOf("C:\\Games\\the vellmor"));
    EXPECT_TRUE(FileExists("C:\\Games\\the vellmor\\The Vellmor\\Vellmor.exe"));
    EXPECT_EQ(kVersionBytes, ReadWholeFile(JoinPath(installDir, "Version.ver")));
    ExpectRecordedInstallation(installDir);
    ExpectMenuLinks(installDir);
}

TEST(Install, OverlongPathsAreRefusedBeforeAnythingIsWritten) {
    InsertDisc(kDisc, Medium::Product().WithFile("The Vellmor\\SetupGlide.dll", "helper"));
    std::vector<std::string> driveC = EntriesOf("C:\\");
    // 232 characters are the most a root may have: the longest path the
    // installation builds, "<root>\The Vellmor\SetupGlide.dll", then has
    // 259 and fits.
    const std::string longest = "C:\\" + std::string(229, 'a');
    ASSERT_EQ(232u, longest.size());

    SetupRun setup;
    ASSERT_TRUE(setup.WaitForDialog());
    for (const std::string& typed : {"C:\\" + std::string(297, 'b'), longest + "a"}) {
        SCOPED_TRACE(typed.size());
        setup.ExpectRefusal(typed, kPathTooLong);
        EXPECT_EQ(driveC, EntriesOf("C:\\"));
        ExpectNothingRecorded(setup);
    }

    setup.SetField(longest);
    ExpectCompleteInstallation(setup, setup.Install(), longest + "\\The Vellmor", kEnglish);
}

TEST(Install, FailuresAfterTheCopyAreReportedAndALaterInstallRepairs) {
    // A disc with a folder named like the version file.
    InsertDisc(kDisc, Medium::Product().WithFile("The Vellmor\\Version.ver\\Note.txt", "note"));
    SetupRun setup;
    ASSERT_TRUE(setup.WaitForDialog());
    const std::string startFolder = CurrentFolderOf(setup.Program().Handle());
    setup.ExpectRefusal("C:\\Games", kVersionFailed);
    // The failure comes after the disc was made the current folder: it is
    // not left in use.
    EXPECT_EQ(startFolder, CurrentFolderOf(setup.Program().Handle()));
    EXPECT_TRUE(FolderExists("C:\\Games\\The Vellmor\\Version.ver"));
    EXPECT_TRUE(FileExists("C:\\Games\\The Vellmor\\Vellmor.exe")) << "the copy was made";
    ExpectNothingRecorded(setup);

    // The right disc now, but a file is in the way of the Start Menu folder.
    InsertDisc(kDisc, Medium::Product());
    const std::string blocker = MenuFolder();
    WriteWholeFile(blocker, "in the way");
    setup.ExpectRefusal("C:\\Other", kShortcutFailed);
    const std::string installDir = "C:\\Other\\The Vellmor";
    EXPECT_EQ(kVersionBytes, ReadWholeFile(JoinPath(installDir, "Version.ver")));
    EXPECT_EQ("in the way", ReadWholeFile(blocker));
    EXPECT_FALSE(HklmKeyExists(kInstalledKey));
    WaitForProgramsStartedBy(setup.Id());
    EXPECT_TRUE(ReadStubStarts().empty());
    ASSERT_TRUE(DeleteFileA(blocker.c_str()));

    // No Programs folder to be had at all: the same message.
    {
        ProgramsFolderOnMissingDrive unknown;
        char path[MAX_PATH] = "";
        ASSERT_FALSE(SHGetSpecialFolderPathA(nullptr, path, CSIDL_PROGRAMS, FALSE)) << path;
        MessageBoxInfo box = setup.InstallOverCopy("Yes");
        ExpectFailureBox(box, setup.Dialog(), kShortcutFailed);
        setup.Answer(box, "OK");
        setup.ExpectDialogStaysOpen();
        EXPECT_FALSE(HklmKeyExists(kInstalledKey));
        EXPECT_FALSE(FolderExists(blocker));
    }

    // With its folder back, a further Install replaces the copy and
    // completes.
    ExpectCompleteInstallation(setup, setup.InstallOverCopy("Yes"), installDir, kEnglish);
}

TEST(Install, CancelledCopyThenReinstallationRewritesEverything) {
    InsertDisc(kDisc, Medium::Product()
                          .WithFile("The Vellmor\\SetupGlide.dll", "helper")
                          .WithLanguage(kGerman.name, GermanTexts()));
    const std::string installDir = "C:\\Games\\The Vellmor";
    {
        SetupRun first;
        ASSERT_TRUE(first.WaitForDialog());
        first.SetField("C:\\Games");
        first.FinishWith(first.Install(), kEnglish);
    }
    ExpectRecordedInstallation(installDir);
    // The installation is damaged: its files, its Glide library, a link.
    WriteWholeFile(JoinPath(installDir, "Version.ver"), "damaged");
    WriteWholeFile(JoinPath(installDir, "Vellmor.exe"), "damaged");
    WriteWholeFile(JoinPath(installDir, "SetupGlide.dll"), "left over");
    DeleteFileA(JoinPath(installDir, "Glide2x.dll").c_str());
    DeleteFileA(JoinPath(MenuFolder(), "Setup.lnk").c_str());
    WriteWholeFile(JoinPath(MenuFolder(), "The Vellmor.lnk"), "damaged");
    ClearStubStarts();
    std::map<std::string, std::string> damaged = Tree(installDir);

    SetupRun setup;
    // The recorded installation is offered first, in its own language.
    MessageBoxInfo offer = setup.NextBox();
    ASSERT_TRUE(offer.window);
    EXPECT_EQ("The Vellmor is already installed. Run it now?", offer.text);
    setup.Answer(offer, "No");
    ASSERT_TRUE(setup.WaitForDialog());
    setup.ChooseLanguage(kGerman);
    ASSERT_EQ("C:\\Games", ControlText(setup.Dialog(), IDC_INSTALL_PATH));

    // Wine's shell asks before replacing the existing folder: declining
    // cancels the copy.
    MessageBoxInfo cancelled = setup.InstallOverCopy("No");
    ExpectFailureBox(cancelled, setup.Dialog(), kCancelled);
    setup.Answer(cancelled, "OK");
    setup.ExpectDialogStaysOpen();
    EXPECT_EQ(damaged, Tree(installDir));
    EXPECT_FALSE(FileExists(JoinPath(MenuFolder(), "Setup.lnk")));
    WaitForProgramsStartedBy(setup.Id());
    EXPECT_TRUE(ReadStubStarts().empty());

    // Installing again starts from the beginning; this time the shell may
    // replace the folder.
    ExpectCompleteInstallation(setup, setup.InstallOverCopy("Yes"), installDir, kGerman);
}

TEST(Install, DiscTakenOutBeforeInstallEndsTheProgramWithoutWriting) {
    InsertDisc(kDisc, Medium::Product());
    SetupRun setup;
    ASSERT_TRUE(setup.WaitForDialog());
    EjectDisc(kDisc);
    setup.SetField("C:\\Games");
    MessageBoxInfo box = setup.Install();
    ASSERT_TRUE(box.window);
    EXPECT_EQ(kNoMediumText, box.text);
    EXPECT_EQ(kNoMediumCaption, box.caption);
    setup.Answer(box, "OK");
    EXPECT_EQ(0xFFFFFFFFu, setup.WaitForEnd());
    EXPECT_FALSE(FolderExists("C:\\Games"));
    ExpectNothingRecorded(setup);
}

TEST(Install, DriveRootAsInstallRootAndAgainFromTheRecordedRoot) {
    InsertDisc(kDisc, Medium::Product());
    const std::string installDir = "C:\\The Vellmor";
    {
        SetupRun first;
        ASSERT_TRUE(first.WaitForDialog());
        // The root is "C:\"; everything after the copy names "C:".
        first.SetField("C:\\The Vellmor");
        ExpectCompleteInstallation(first, first.Install(), installDir, kEnglish);
    }
    ClearStubStarts();

    // The next start offers the installation and then shows its root
    // without the product folder: the drive's root "C:\".
    SetupRun again;
    MessageBoxInfo offer = again.NextBox();
    ASSERT_TRUE(offer.window);
    again.Answer(offer, "No");
    ASSERT_TRUE(again.WaitForDialog());
    ASSERT_EQ("C:\\", ControlText(again.Dialog(), IDC_INSTALL_PATH));
    ExpectCompleteInstallation(again, again.InstallOverCopy("Yes"), installDir, kEnglish);
}
