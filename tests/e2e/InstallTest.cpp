// The Install command end to end: the real Setup.exe driven from outside on
// the test prefix, where its rules meet real folder names and a machine that
// refuses a step; its results read back from the disk, the registry, the
// shell's link object and the stub programs' start log.

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <map>

#include "E2e.h"
#include "common/ExitCodes.h"
#include "common/Names.h"
#include "res/resource.h"
#include "text/TextCatalogue.h"

using namespace e2e;

namespace {

const char kInstalledKey[] = "Software\\Brightfen\\The Vellmor";
const char kEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\The Vellmor";
// Where every installation's uninstaller has a folder of its own.
const char kUninstallers[] = "C:\\Program Files\\Brightfen\\";
const char kDisc = 'E';
const std::string kVersionBytes("\x0D\0\0\0\x01\0\0\0\0\0\0\0\0", 13);
// 218 characters are the most a root may have: the longest path the
// installation builds, "<root>\~Vellmor.<4 hex>\The Vellmor\SetupGlide.dll"
// in setup's own folder, then has 259 and fits.
const std::string kLongestRoot = "C:\\" + std::string(215, 'a');

// A language of the disc and the texts the tests look for.
struct Language {
    const char* name;
    const char* install; // the Install button
    SetupMessage done;   // the completion message
};
const Language kEnglish = {"English", "Install", kInstalled};
const Language kGerman = {"Deutsch",
                          "Installieren",
                          {"The Vellmor wurde installiert.", "Installation abgeschlossen", MB_OK}};

// The second language's table: its texts differ from the English ones
// wherever the tests look.
Texts GermanTexts() {
    return {
        {TXT_DIALOG_TITLE, "The Vellmor Installation"},
        {TXT_INSTALL_TO, "Installieren nach:"},
        {TXT_BROWSE, "Durchsuchen..."},
        {TXT_INSTALL, kGerman.install},
        {TXT_EXIT, "Beenden"},
        {TXT_INSTALL_DONE, kGerman.done.text},
        {TXT_INSTALL_DONE_CAPTION, kGerman.done.caption},
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
void MakeFolderReadOnly(const std::string& folder, Where where = Where::Here()) {
    Require(RunLinuxShell("chmod a-w '" + LinuxPath(folder, where) + "'", kTimeoutMs, where) == 0 &&
                (GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_READONLY),
            where, "cannot make " + folder + " read-only");
}

// Selects `language`; the dialog then shows that language's Install text.
void ChooseLanguage(Session& setup, const Language& language, Where where = Where::Here()) {
    setup.ChooseLanguage(language.name, where);
    const std::string install = At(where, [&] { return ControlText(setup.Dialog(), IDOK); });
    Require(install == language.install, where, "Install reads " + install);
}

// --- What an installation leaves behind -----------------------------------

std::string ProgramsFolder(int folder = CSIDL_COMMON_PROGRAMS) {
    char path[MAX_PATH] = "";
    EXPECT_TRUE(SHGetSpecialFolderPathA(nullptr, path, folder, FALSE));
    return path;
}

// The installation's Start Menu folder is every user's.
std::string MenuFolder() {
    return JoinPath(ProgramsFolder(), kProductFolder);
}

// Every file (with its contents) and folder (as "<folder>") below `folder`,
// by path relative to it; with `attributes`, a read-only one is marked so.
std::map<std::string, std::string> Tree(const std::string& folder, bool attributes = true) {
    std::map<std::string, std::string> tree;
    std::function<void(const std::string&, const std::string&)> collect =
        [&](const std::string& below, const std::string& prefix) {
            ForEachEntry(below, [&](const std::string& path, bool isFolder) {
                std::string name = prefix + path.substr(path.find_last_of('\\') + 1);
                tree[name] = isFolder ? "<folder>" : ReadWholeFile(path);
                if (attributes && (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY))
                    tree[name] += " (read-only)";
                if (isFolder)
                    collect(path, name + "\\");
            });
        };
    collect(folder, "");
    return tree;
}

// What an installation from the disc holds, none of it read-only: the
// product folder, the version file and the language pair; on a machine
// without a Glide driver the disc's Glide library instead of the Glide
// setup helper.
std::map<std::string, std::string> InstalledTree(const Language& language, bool glideDriver) {
    const std::string base = MediumPath(std::string("Languages\\") + language.name);
    std::map<std::string, std::string> tree = Tree(MediumPath(kProductFolder), false);
    if (!glideDriver) {
        tree.erase("SetupGlide.dll");
        tree["Glide2x.dll"] = ReadWholeFile(MediumPath("Glide\\Glide2x.dll"));
    }
    tree["Version.ver"] = kVersionBytes;
    tree["language.poo"] = ReadWholeFile(base + ".poo");
    tree["language.sif"] = ReadWholeFile(base + ".sif");
    return tree;
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

// The Start Menu folder of an installation in `installDir` holds its two
// links and nothing else; the user's own Programs folder has none.
void ExpectMenuLinks(const std::string& installDir, Where where = Where::Here()) {
    const auto trace = where.Trace();
    for (const auto& link : kMenuLinks)
        ExpectLink(JoinPath(MenuFolder(), link.file), installDir + "\\" + link.program,
                   link.description, installDir, where);
    EXPECT_EQ(2u, EntriesOf(MenuFolder()).size());
    EXPECT_NE(ProgramsFolder(CSIDL_PROGRAMS), ProgramsFolder());
    EXPECT_FALSE(FolderExists(JoinPath(ProgramsFolder(CSIDL_PROGRAMS), kProductFolder)));
}

// The registry value: a REG_SZ of exactly the text and its NUL.
void ExpectRecordedInstallation(const std::string& installDir, Where where = Where::Here()) {
    const auto trace = where.Trace();
    RegistryValue value = ReadHklmValue(kInstalledKey, "InstallPath");
    EXPECT_TRUE(value.exists);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
    EXPECT_EQ(installDir + std::string(1, '\0'), std::string(value.data.begin(), value.data.end()));
}

// Nothing of an installation exists: no registry key, no Start Menu folder,
// no program started by `setup`.
void ExpectNothingRecorded(const Session& setup, Where where = Where::Here()) {
    const auto trace = where.Trace();
    EXPECT_FALSE(HklmKeyExists(kInstalledKey));
    EXPECT_FALSE(FolderExists(MenuFolder()));
    WaitForProgramsStartedBy(setup.Id(), where);
    EXPECT_TRUE(ReadStubStarts().empty());
}

// The one start of the installation's Setup.exe: quoted, in its folder.
void ExpectInstalledSetupStarted(const std::string& installDir, Where where = Where::Here()) {
    const auto trace = where.Trace();
    std::vector<StubStart> starts = WaitForStubStarts(1, where);
    Require(starts.size() == 1, where, std::to_string(starts.size()) + " programs started");
    // The system may give the folders' names as they are on the disk.
    EXPECT_EQ(0, _stricmp((installDir + "\\Setup.exe").c_str(), starts[0].program.c_str()))
        << starts[0].program;
    EXPECT_EQ(installDir, starts[0].currentDirectory);
    EXPECT_EQ("\"" + installDir + "\\Setup.exe\"", starts[0].commandLine);
}

// The uninstaller that Apps & features' entry names.
std::string EntryUninstaller(Where where = Where::Here()) {
    const auto trace = where.Trace();
    const std::string command = ReadHklmValue(kEntry, "UninstallString").AsString();
    const size_t end = command.find("\" /UNINSTALL");
    EXPECT_EQ(0u, command.find('"')) << command;
    EXPECT_EQ(command.size() - 12, end) << command;
    return end == std::string::npos ? "" : command.substr(1, end - 1);
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('\\'));
}

// The installation's uninstaller sits in a folder of its own below Program
// Files, with the record and setup's texts in the chosen language. Its record lists
// the installation folder and every file and folder of `tree` (the
// installation's), and the Start Menu folder.
void ExpectRecorded(const std::string& installDir, const std::map<std::string, std::string>& tree,
                    const Language& language, Where where = Where::Here()) {
    const auto trace = where.Trace();
    const std::string uninstaller = EntryUninstaller();
    const std::string home = FolderOf(uninstaller);
    EXPECT_EQ(0, _strnicmp(kUninstallers, uninstaller.c_str(), strlen(kUninstallers)))
        << uninstaller;
    EXPECT_EQ("\"" + uninstaller + "\" /UNINSTALL /VERYSILENT",
              ReadHklmValue(kEntry, "QuietUninstallString").AsString());
    EXPECT_EQ(installDir, ReadHklmValue(kEntry, "InstallLocation").AsString());
    EXPECT_EQ(ReadWholeFile(SetupExe()), ReadWholeFile(uninstaller));
    // Setup's own texts of the language, when the medium has them; never the
    // game's table.
    for (const char* extension : {".poo", ".sif"}) {
        const std::string pair =
            MediumPath("Languages\\Setup\\" + std::string(language.name) + extension);
        const std::string kept = JoinPath(home, std::string("setup") + extension);
        EXPECT_EQ(FileExists(pair), FileExists(kept)) << kept;
        EXPECT_EQ(FileExists(pair) ? ReadWholeFile(pair) : "",
                  FileExists(kept) ? ReadWholeFile(kept) : "");
        EXPECT_FALSE(FileExists(JoinPath(home, std::string("language") + extension)));
    }
    const std::string record = ReadWholeFile(JoinPath(home, "Uninstall.log"));
    EXPECT_EQ(0u, record.find("; The Vellmor uninstall record 1\r\ninstall " + installDir + "\r\n"))
        << record;
    auto listed = [&](const std::string& line) {
        return record.find("\n" + line + "\r\n") != std::string::npos;
    };
    for (const auto& entry : tree) {
        bool folder = entry.second == "<folder>";
        EXPECT_TRUE(listed((folder ? "folder " : "file ") + entry.first)) << entry.first;
    }
    EXPECT_TRUE(listed("menu " + MenuFolder())) << record;
}

// Everything of an installation is in place: its files, none read-only,
// each listed in its record; the registry value and the Start Menu links.
void ExpectInstallationInPlace(const std::string& installDir, const Language& language,
                               bool glideDriver, Where where = Where::Here()) {
    const auto trace = where.Trace();
    std::map<std::string, std::string> tree = Tree(installDir);
    ExpectRecorded(installDir, tree, language);
    EXPECT_EQ(InstalledTree(language, glideDriver), tree);
    EXPECT_FALSE(GetFileAttributesA(installDir.c_str()) & FILE_ATTRIBUTE_READONLY);
    ExpectRecordedInstallation(installDir);
    ExpectMenuLinks(installDir);
}

void ExpectCompleteInstallation(Session& setup, const MessageBoxInfo& done,
                                const std::string& installDir, const Language& language = kEnglish,
                                bool glideDriver = false, Where where = Where::Here()) {
    const auto trace = where.Trace();
    ExpectInstalledSetupStarted(installDir);
    setup.Finish(done, language.done, where);
    ExpectInstallationInPlace(installDir, language, glideDriver);
}

// Installs from the disc into `typed`; everything is then in place, and
// the start log is cleared.
void InstallInto(const std::string& typed, const std::string& installDir,
                 Where where = Where::Here()) {
    Session first({}, "", where);
    first.WaitForDialog(where);
    first.SetField(typed, where);
    ExpectCompleteInstallation(first, first.Install(false, where), installDir, kEnglish, false,
                               where);
    ClearStubStarts();
}

// Where an installation is recorded, setup offers it first: No leads to the
// dialog.
void DeclineTheOffer(Session& setup, Where where = Where::Here()) {
    MessageBoxInfo offer = setup.NextBox(where);
    const SetupMessage kOffer = {"The Vellmor is already installed. Run it now?", "The Vellmor",
                                 MB_YESNO};
    Require(Appearance(offer) == Appearance(kOffer), where, "not the offer: " + Appearance(offer));
    setup.Answer(offer, "No", where);
    setup.WaitForDialog(where);
}

// While it lives, the installation's registry key cannot be made: its
// parent is volatile, and a volatile key takes no lasting child. An
// installation recorded before is removed first.
class UnwritableInstallKey {
  public:
    explicit UnwritableInstallKey(Where where = Where::Here()) {
        const auto trace = where.Trace();
        DeleteHklmTree(kParent, where);
        DWORD disposition = 0;
        HKEY parent = nullptr;
        LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kParent, 0, nullptr, REG_OPTION_VOLATILE,
                                      KEY_ALL_ACCESS, nullptr, &parent, &disposition);
        EXPECT_EQ(ERROR_SUCCESS, status);
        EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
        if (parent)
            RegCloseKey(parent);
        HKEY key = nullptr;
        EXPECT_NE(ERROR_SUCCESS, RegCreateKeyA(HKEY_LOCAL_MACHINE, kInstalledKey, &key))
            << "the key can still be made";
        if (key)
            RegCloseKey(key);
    }
    ~UnwritableInstallKey() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kParent); }
    UnwritableInstallKey(const UnwritableInstallKey&) = delete;
    UnwritableInstallKey& operator=(const UnwritableInstallKey&) = delete;

  private:
    static constexpr const char* kParent = "Software\\Brightfen";
};

// While it lives, the fixed disk G: is a 1 MB memory drive (a tmpfs: as
// root only).
class SmallFixedDrive {
  public:
    SmallFixedDrive() : folder_(LinuxPath(DriveFolder(kFixedDrive))) {
        mounted_ = RunLinuxShell("mount -t tmpfs -o size=1m tmpfs '" + folder_ + "'") == 0;
    }
    ~SmallFixedDrive() {
        if (mounted_)
            RunLinuxShell("umount '" + folder_ + "'");
    }
    SmallFixedDrive(const SmallFixedDrive&) = delete;
    SmallFixedDrive& operator=(const SmallFixedDrive&) = delete;
    bool Mounted() const { return mounted_; }

  private:
    std::string folder_;
    bool mounted_;
};

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

    Session setup;
    ASSERT_TRUE(setup.WaitForDialog());
    ASSERT_FALSE(IsChecked(setup.Dialog(), IDC_GLIDE)) << "no Glide driver on this machine";
    ChooseLanguage(setup, kGerman);
    // Blanks around a text naming the product are trimmed, and the root
    // ends where the product name begins: "C:\Games\".
    setup.SetField("  C:\\Games\\The Vellmor\\ ");
    ExpectCompleteInstallation(setup, setup.Install(), "C:\\Games\\The Vellmor", kGerman);
    std::vector<StubStart> starts = ReadStubStarts();
    ASSERT_EQ(1u, starts.size());
    EXPECT_STARTED_AS_PLAYER(starts[0], setup.Id());
    EXPECT_TRUE(GetFileAttributesA("C:\\Games") & FILE_ATTRIBUTE_READONLY)
        << "the install root's own attributes were changed";
    EXPECT_EQ(std::vector<std::string>{"C:\\Games\\The Vellmor"}, EntriesOf("C:\\Games"));
}

TEST(Install, GlideDriverPresentIntoProgramFilesWithPlantedProgram) {
    // A Glide driver the system finds, and a program where an unquoted
    // "C:\Program Files\..." command would start it.
    CopyOneFile(GlideDll(), SystemGlidePath());
    CopyOneFile(StubExe(), "C:\\Program.exe");
    InsertDisc(kDisc, Medium::Product().WithFile("The Vellmor\\SetupGlide.dll", "helper"));

    Session setup;
    ASSERT_TRUE(setup.WaitForDialog());
    ASSERT_TRUE(IsChecked(setup.Dialog(), IDC_GLIDE)) << "the driver is present";
    ASSERT_EQ("C:\\Program Files", ControlText(setup.Dialog(), IDC_INSTALL_PATH));
    // The box, as the dialog's opening found the driver, decides, not the
    // system at Install: here and in the elevated copy.
    ASSERT_TRUE(DeleteFileA(SystemGlidePath().c_str()));
    // The Glide setup helper stays, and the disc's Glide library is not
    // copied.
    ExpectCompleteInstallation(setup, setup.Install(), "C:\\Program Files\\The Vellmor", kEnglish,
                               true);
    // Nothing else was started, not even by what setup started.
    WaitForProgramsStartedBy(setup.Id());
    EXPECT_EQ(1u, ReadStubStarts().size());
}

// Install paths refused before anything is written, each with its message:
// the dialog stays open, and nothing is made, recorded or started. The rules
// themselves are tested natively (tests/native/PathRulesTest.cpp); here the
// real Setup.exe shows what the user sees.
TEST(Install, RefusedPathsWriteNothingAndLeaveTheDialogOpenUntilOneInstalls) {
    InsertDisc(kDisc, Medium::Product().WithFile("The Vellmor\\SetupGlide.dll", "helper"));
    MakeFolders("C:\\Games");
    WriteWholeFile("C:\\Busy", "a file where the root should be");
    const struct {
        std::string typed;
        SetupMessage failure;
        bool byEnter;
    } refusals[] = {
        // Parents are not created. A file in the root's place is no folder
        // to install into.
        {"C:\\Missing\\Games", kRootFailed, false},
        {"C:\\Busy", kRootFailed, false},
        // Enter in the field runs the Install command as the button does.
        {"C:\\Missing\\Games", kRootFailed, true},
        // Trailing blanks alone: the system drops them from the root it
        // creates, but not inside the longer paths built on the root, so
        // the copy finds no such folder and writes nothing.
        {"C:\\Games  ", kCopyFailed, false},
        // Longer than the longest root.
        {"C:\\" + std::string(297, 'b'), kPathTooLong, false},
        {kLongestRoot + "a", kPathTooLong, false},
        // Paths that depend on the current folder. Leading blanks: the text
        // names no product folder and is used as typed, which no drive path
        // begins with.
        {"Games", kPathRelative, false},
        {"C:Games", kPathRelative, false},
        {"\\Games", kPathRelative, false},
        {"  C:\\Games", kPathRelative, false},
    };
    Session setup(StartIn("C:\\Start"));
    std::vector<std::string> driveC = EntriesOf("C:\\");
    ASSERT_TRUE(setup.WaitForDialog());
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.typed);
        setup.ExpectRefusal(refusal.typed, refusal.failure, refusal.byEnter);
        EXPECT_EQ(driveC, EntriesOf("C:\\"));
        EXPECT_EQ(std::vector<std::string>{}, EntriesOf("C:\\Games"));
        EXPECT_EQ(std::vector<std::string>{}, EntriesOf("C:\\Start"));
        ExpectNothingRecorded(setup);
    }

    // The product name is matched as written: in lower case it is part of
    // the root, and the product folder is made inside it.
    setup.SetField("c:\\games\\the vellmor");
    ExpectCompleteInstallation(setup, setup.Install(), "c:\\games\\the vellmor\\The Vellmor");
    EXPECT_EQ(std::vector<std::string>{"C:\\Games\\the vellmor"}, EntriesOf("C:\\Games"));
    EXPECT_EQ(std::vector<std::string>{"C:\\Games\\the vellmor\\The Vellmor"},
              EntriesOf("C:\\Games\\the vellmor"));
}

// Setup's messages and its uninstaller's come from setup's own pair of the
// chosen language, never from the game's table, which holds the game's own
// texts up to record 1,499; a medium without that pair (made before it
// existed) gives the English. The installation keeps the game's table, the
// uninstaller setup's pair.
TEST(Install, MessagesFromSetupsOwnPairNeverFromTheGamesTable) {
    const SetupMessage german = {"Bitte geben Sie den vollst\xE4ndigen Pfad des Zielordners ein, "
                                 "zum Beispiel C:\\Games.",
                                 "Fehler", MB_ICONHAND};
    const char kQuestion[] = "Wollen Sie The Vellmor entfernen?";
    const char kCaption[] = "The Vellmor entfernen";
    Texts texts = GermanTexts();
    texts.push_back({TXT_PATH_RELATIVE, german.text});
    texts.push_back({TXT_ERROR_CAPTION, german.caption});
    texts.push_back({TXT_UNINSTALL_QUESTION, kQuestion});
    texts.push_back({TXT_UNINSTALL_CAPTION, kCaption});
    Texts gameOwn;
    for (int index = kRecordsOfEveryTable; index < 1500; ++index)
        gameOwn.push_back({index, "Spieltext " + std::to_string(index)});
    Texts old = texts;
    old.insert(old.end(), gameOwn.begin() + (TXT_RECORD_DAMAGED + 1 - kRecordsOfEveryTable),
               gameOwn.end());
    InsertDisc(
        kDisc,
        Medium::Product().WithLanguage(kGerman.name, texts, gameOwn).WithOldLanguage("Alt", old));
    Session setup;
    ASSERT_TRUE(setup.WaitForDialog());
    ChooseLanguage(setup, kGerman);
    setup.ExpectRefusal("Games", german);
    ChooseLanguage(setup, {"Alt", kGerman.install, kGerman.done});
    setup.ExpectRefusal("Games", kPathRelative);

    // Installed in German, its uninstaller asks in German.
    ChooseLanguage(setup, kGerman);
    setup.SetField("C:\\Games");
    ExpectCompleteInstallation(setup, setup.Install(), "C:\\Games\\The Vellmor", kGerman);
    EXPECT_FALSE(FileExists("C:\\Games\\The Vellmor\\setup.sif"));
    Process uninstall = Process::Start(EntryUninstaller(), {"/UNINSTALL", "C:\\", false});
    HWND box = windriver::WaitForDialogBoxWhileRunning(uninstall.Id(), uninstall.Handle(), nullptr);
    ASSERT_NE(nullptr, box) << "no question";
    EXPECT_EQ(Appearance({kQuestion, kCaption, MB_YESNO | MB_ICONQUESTION}),
              Appearance(ReadMessageBox(box)));
    ASSERT_TRUE(PostClickOn(box, "&No"));
    ASSERT_TRUE(uninstall.WaitForExit(kTimeoutMs));
    EXPECT_EQ(static_cast<DWORD>(kExitDeclined), uninstall.ExitCode());
}

// An elevated copy that ends without having said why (here it refuses a
// language that the disc no longer offers), or that the system cannot start
// for another reason than the player's No, is told to the player in the
// dialog's language, and nothing is written. Wine's "runas" shows no prompt
// that could fail: the copy's program is taken away instead
// (ERROR_FILE_NOT_FOUND).
TEST(Install, ElevatedCopyThatEndsUntoldOrCannotStartIsSaidInTheDialogsLanguage) {
    const SetupMessage untold = {"Der Teil von Setup mit Administratorrechten wurde unerwartet "
                                 "beendet (Code 2).",
                                 "Setup", MB_ICONHAND};
    const SetupMessage refused = {"Windows konnte nicht nach Administratorrechten fragen (Fehler "
                                  "2). Es wurde nichts ge\xE4ndert.",
                                  "Setup", MB_ICONHAND};
    Texts texts = GermanTexts();
    texts.push_back({TXT_ELEVATED_PART_FAILED,
                     "Der Teil von Setup mit Administratorrechten wurde unerwartet beendet (Code "
                     "%1)."});
    texts.push_back({TXT_ELEVATION_FAILED, "Windows konnte nicht nach Administratorrechten fragen "
                                           "(Fehler %1). Es wurde nichts ge\xE4ndert."});
    InsertDisc(kDisc, Medium::Product().WithLanguage(kGerman.name, texts));
    const std::string copy = "C:\\Moved\\Setup.exe";
    MakeFolders("C:\\Moved");
    CopyOneFile(SetupExe(), copy);
    ASSERT_TRUE(SetEnvironmentVariableA("VELLMOR_SETUP_RELAUNCH", "1"));
    Session setup({}, copy);
    SetEnvironmentVariableA("VELLMOR_SETUP_RELAUNCH", nullptr);
    ASSERT_TRUE(setup.WaitForDialog());
    ChooseLanguage(setup, kGerman);
    setup.SetField("C:\\Games");
    const std::string pool = MediumPath(std::string("Languages\\") + kGerman.name + ".poo");
    ASSERT_EQ(0u, RunLinuxShell("rm '" + LinuxPath(pool) + "'"));
    setup.ExpectFailure(setup.Install(), untold);
    ASSERT_EQ(0u, RunLinuxShell("rm '" + LinuxPath(copy) + "'"));
    setup.ExpectFailure(setup.Install(), refused);
    EXPECT_FALSE(FolderExists("C:\\Games"));
    ExpectNothingRecorded(setup);
}

TEST(Install, LongestRootFits) {
    InsertDisc(kDisc, Medium::Product().WithFile("The Vellmor\\SetupGlide.dll", "helper"));
    Session setup;
    ASSERT_TRUE(setup.WaitForDialog());
    setup.SetField(kLongestRoot);
    ExpectCompleteInstallation(setup, setup.Install(), kLongestRoot + "\\The Vellmor");
    // One shell copy, over the dialog, with its progress window and its own
    // questions (e2e_iconhook.dll logs it: Wine shows no progress window).
    unsigned long owner = 0;
    unsigned flags = 0;
    char title[128] = "";
    const std::string copies = ReadWholeFile(kCopyLog);
    ASSERT_EQ(3, sscanf(copies.c_str(), "owner=%lu flags=0x%X title=%127[^\r]\r\n", &owner, &flags,
                        title))
        << copies;
    EXPECT_EQ(std::count(copies.begin(), copies.end(), '\n'), 1) << copies;
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(setup.Dialog()), owner);
    EXPECT_EQ(FOF_SIMPLEPROGRESS, flags & (FOF_SIMPLEPROGRESS | FOF_SILENT | FOF_NOERRORUI));
    EXPECT_STREQ("Copying The Vellmor files...", title);
}

TEST(Install, FailuresAfterTheCopyAreReportedAndALaterInstallRepairs) {
    // A disc with a folder named like the version file.
    InsertDisc(kDisc, Medium::Product().WithFile("The Vellmor\\Version.ver\\Note.txt", "note"));
    Session setup;
    ASSERT_TRUE(setup.WaitForDialog());
    const std::string startFolder = CurrentFolderOf(setup.Program().Handle());
    setup.ExpectRefusal("C:\\Games", kVersionFailed);
    // The failure comes after the disc was made the current folder: it is
    // not left in use.
    EXPECT_EQ(startFolder, CurrentFolderOf(setup.Program().Handle()));
    // The copy never took the game folder's place, and went.
    EXPECT_EQ(std::vector<std::string>{}, EntriesOf("C:\\Games"));
    ExpectNothingRecorded(setup);

    // The right disc now, but a file is in the way of the Start Menu folder.
    InsertDisc(kDisc, Medium::Product());
    const std::string blocker = MenuFolder();
    WriteWholeFile(blocker, "in the way");
    setup.ExpectRefusal("C:\\Other", kShortcutFailed);
    const std::string installDir = "C:\\Other\\The Vellmor";
    EXPECT_EQ(std::vector<std::string>{}, EntriesOf("C:\\Other"));
    EXPECT_EQ("in the way", ReadWholeFile(blocker));
    ExpectNothingRecorded(setup);
    ASSERT_TRUE(DeleteFileA(blocker.c_str()));

    // No Programs folder to be had at all: the same message.
    {
        ProgramsFolderOnMissingDrive unknown;
        char path[MAX_PATH] = "";
        ASSERT_FALSE(SHGetSpecialFolderPathA(nullptr, path, CSIDL_PROGRAMS, FALSE)) << path;
        ASSERT_FALSE(SHGetSpecialFolderPathA(nullptr, path, CSIDL_COMMON_PROGRAMS, FALSE)) << path;
        setup.ExpectFailure(setup.Install(), kShortcutFailed);
        EXPECT_FALSE(HklmKeyExists(kInstalledKey));
        EXPECT_FALSE(FolderExists(blocker));
    }

    // With its folder back, a further Install completes.
    ExpectCompleteInstallation(setup, setup.Install(), installDir);
}

// A reinstall builds the new copy beside the earlier installation and puts
// it in its place only when it is whole: a copy that a full drive cuts
// short leaves the earlier installation exactly as it was, and one that
// completes repairs it, keeps the player's files byte for byte (one whose
// name the game now has too under a name that says so, which the log
// names) and leaves nothing beside the game folder.
TEST(Install, ReinstallKeepsThePlayersFilesAndOneCutShortChangesNothing) {
    SmallFixedDrive small;
    if (!small.Mounted())
        GTEST_SKIP() << "a memory drive needs root";
    InsertDisc(kDisc, Medium::Product());
    const std::string root = "G:\\Games";
    const std::string installDir = root + "\\The Vellmor";
    InstallInto(root, installDir);
    WriteWholeFile(JoinPath(installDir, "Vellmor.exe"), "damaged");
    MakeFolders(JoinPath(installDir, "Saves"));
    WriteWholeFile(JoinPath(installDir, "Saves\\slot1.sav"), "saved");
    WriteWholeFile(JoinPath(installDir, "Options.cfg"), "the player's");
    const std::map<std::string, std::string> earlier = Tree(installDir);

    InsertDisc(kDisc, Medium::Product()
                          .WithFile("The Vellmor\\Options.cfg", "defaults")
                          .WithFile("The Vellmor\\Data\\Big.dat", std::string(2 << 20, 'x')));
    {
        Session setup;
        DeclineTheOffer(setup);
        MessageBoxInfo question = setup.Install();
        EXPECT_NE(std::string::npos, question.text.find("needs 3 MB")) << question.text;
        setup.Answer(question, "Yes");
        setup.ExpectFailure(setup.NextBox(), kCopyFailed);
        EXPECT_EQ(earlier, Tree(installDir));
        EXPECT_EQ(std::vector<std::string>{installDir}, EntriesOf(root));
        EXPECT_EQ(0u, setup.Exit());
    }

    InsertDisc(kDisc, Medium::Product().WithFile("The Vellmor\\Options.cfg", "defaults"));
    RunResult run = RunProgram(SetupExe(), "/S /LOG=C:\\setup.log", "C:\\", kTimeoutMs);
    EXPECT_EQ(0u, run.exitCode);
    const std::string kept = JoinPath(installDir, "Options.cfg.players");
    EXPECT_NE(std::string::npos,
              ReadWholeFile("C:\\setup.log").find("player's file kept as: " + kept + "\r\n"));
    EXPECT_EQ(ReadWholeFile(MediumPath("The Vellmor\\Vellmor.exe")),
              ReadWholeFile(JoinPath(installDir, "Vellmor.exe")));
    EXPECT_EQ("defaults", ReadWholeFile(JoinPath(installDir, "Options.cfg")));
    EXPECT_EQ("the player's", ReadWholeFile(kept));
    EXPECT_EQ("saved", ReadWholeFile(JoinPath(installDir, "Saves\\slot1.sav")));
    EXPECT_EQ(std::vector<std::string>{installDir}, EntriesOf(root));
}

// A player makes the game folder before an administrator installs, with
// hard links under names the installation writes to files elsewhere, two
// of them read-only (Unix hard links, which Wine shows as files with two
// names, stand in for NTFS ones): the files elsewhere keep their bytes and
// attributes, and the links stay the player's, beside the game's files.
TEST(Install, HardLinksInAnEarlierGameFolderChangeNothingOutside) {
    InsertDisc(kDisc, Medium::Product());
    const std::string installDir = "C:\\Games\\The Vellmor";
    MakeFolders(installDir);
    MakeFolders("C:\\Elsewhere");
    std::map<std::string, DWORD> attributes;
    for (const char* name : {"Setup.exe", "Version.ver", "language.poo", "Glide2x.dll"}) {
        const std::string target = JoinPath("C:\\Elsewhere", name);
        WriteWholeFile(target, name);
        ASSERT_EQ(0u, RunLinuxShell("ln '" + LinuxPath(target) + "' '" +
                                    LinuxPath(JoinPath(installDir, name)) + "'" +
                                    (name[0] == 'S' || name[0] == 'G'
                                         ? " && chmod a-w '" + LinuxPath(target) + "'"
                                         : "")));
        attributes[name] = GetFileAttributesA(target.c_str());
    }
    const std::map<std::string, std::string> elsewhere = Tree("C:\\Elsewhere");
    RunResult run = RunProgram(SetupExe(), "/S /DIR=C:\\Games", "C:\\", kTimeoutMs);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(elsewhere, Tree("C:\\Elsewhere"));
    for (const auto& file : attributes) {
        SCOPED_TRACE(file.first);
        EXPECT_EQ(file.second, GetFileAttributesA(JoinPath("C:\\Elsewhere", file.first).c_str()));
        EXPECT_EQ(file.first, ReadWholeFile(JoinPath(installDir, file.first + ".players")));
    }
    EXPECT_EQ(ReadWholeFile(MediumPath("The Vellmor\\Setup.exe")),
              ReadWholeFile(JoinPath(installDir, "Setup.exe")));
    EXPECT_EQ(kVersionBytes, ReadWholeFile(JoinPath(installDir, "Version.ver")));
}

// Setup looks for the disc before it asks for administrator rights: without
// one it says so itself, and no elevated copy is ever started.
TEST(Install, DiscTakenOutBeforeInstallEndsTheProgramWithoutWriting) {
    InsertDisc(kDisc, Medium::Product());
    Session setup;
    ASSERT_TRUE(setup.WaitForDialog());
    EjectDisc(kDisc);
    setup.SetField("C:\\Games");
    MessageBoxInfo box = setup.Install();
    EXPECT_EQ(Appearance(kNoMedium), Appearance(box));
    DWORD shownBy = 0;
    GetWindowThreadProcessId(box.window, &shownBy);
    EXPECT_EQ(setup.Id(), shownBy) << "an elevated copy showed it";
    setup.Answer(box, "OK");
    EXPECT_EQ(0xFFFFFFFFu, setup.WaitForEnd());
    EXPECT_FALSE(FolderExists("C:\\Games"));
    ExpectNothingRecorded(setup);
}

TEST(Install, DriveRootAsInstallRootAndAgainFromTheRecordedRoot) {
    // The root is "C:\"; everything after the copy names "C:". The next
    // start shows the root without the product folder: the drive's root.
    InsertDisc(kDisc, Medium::Product());
    InstallInto("C:\\The Vellmor", "C:\\The Vellmor");
    Session again;
    DeclineTheOffer(again);
    ASSERT_EQ("C:\\", again.Field());
    ExpectCompleteInstallation(again, again.Install(), "C:\\The Vellmor");
}

TEST(Install, FolderNamedLikeTheProductIsARootOfItsOwn) {
    const std::string root = "C:\\The Vellmor Mods";
    InsertDisc(kDisc, Medium::Product());
    InstallInto(root, root + "\\The Vellmor");
    // After No the field shows the folder the user chose.
    Session again;
    DeclineTheOffer(again);
    EXPECT_EQ(root, again.Field());
    EXPECT_FALSE(FolderExists("C:\\The Vellmor"));
    EXPECT_EQ(0u, again.Exit());
}

// A failed step after the copy stops neither the steps that do not depend
// on it nor the others' reports: each failure has its own message once they
// have all run, the dialog stays open and the installation's Setup.exe is
// not started; the next Install, over what the failed one left, completes.
TEST(Install, FailedStepsAfterTheCopyEachHaveTheirMessage) {
    InsertDisc(kDisc, Medium::Product());
    const std::string installDir = "C:\\Games\\The Vellmor";
    Session setup;
    ASSERT_TRUE(setup.WaitForDialog());
    setup.SetField("C:\\Games");
    // A folder of the disc stands where the language's pool goes (its
    // index is still copied), and the disc lacks the renderer library while
    // the machine has no Glide driver (the Glide setup helper goes all the
    // same).
    InsertDisc(kDisc, Medium::Product()
                          .WithoutGlide()
                          .WithFile("The Vellmor\\language.poo\\Note.txt", "note")
                          .WithFile("The Vellmor\\SetupGlide.dll", "helper"));
    setup.ExpectMessage(setup.Install(), kLanguageFailed);
    setup.ExpectFailure(setup.NextBox(), kRendererFailed);
    EXPECT_EQ(ReadWholeFile(MediumPath("Languages\\English.sif")),
              ReadWholeFile(JoinPath(installDir, "language.sif")));
    EXPECT_FALSE(FileExists(JoinPath(installDir, kGlideLibrary)));
    EXPECT_FALSE(FileExists(JoinPath(installDir, kSetupGlide)));
    ExpectRecordedInstallation(installDir);
    EXPECT_FALSE(GetFileAttributesA(JoinPath(installDir, kGameExe).c_str()) &
                 FILE_ATTRIBUTE_READONLY);
    // Once what setup started has ended, the log would show a start.
    WaitForProgramsStartedBy(setup.Id());
    EXPECT_TRUE(ReadStubStarts().empty()) << "the installation's Setup.exe ran";

    // The whole disc, but no right to record the installation.
    InsertDisc(kDisc, Medium::Product());
    {
        UnwritableInstallKey unwritable;
        setup.ExpectFailure(setup.Install(), kRegistryFailed);
        EXPECT_TRUE(FileExists(JoinPath(installDir, "language.sif")));
        EXPECT_TRUE(FileExists(JoinPath(installDir, kGlideLibrary)));
    }
    EXPECT_FALSE(HklmKeyExists(kInstalledKey));

    ExpectCompleteInstallation(setup, setup.Install(), installDir);
}

// A drive without space for the game: setup asks before it creates
// anything, and when the user goes on regardless the copy that the drive
// cut short is no success, nor one whose disc went while the question was
// up; what it wrote goes, what was there before stays.
TEST(Install, DriveWithoutSpaceAsksAndACutShortCopyLeavesNothing) {
    SmallFixedDrive small;
    if (!small.Mounted())
        GTEST_SKIP() << "a memory drive needs root";
    InsertDisc(kDisc, Medium::Product().WithFile("The Vellmor\\Data\\Big.dat",
                                                 std::string(2 * 1024 * 1024, 'x')));
    const std::string root = "G:\\Games";
    MakeFolders(root);
    WriteWholeFile(JoinPath(root, "Keep.txt"), "the player's");
    Session setup;
    ASSERT_TRUE(setup.WaitForDialog());
    setup.SetField(root);
    const struct {
        const char* answer;
        bool ejectFirst;
        const SetupMessage* failure;
    } rounds[] = {
        {"No", false, nullptr}, {"Yes", false, &kCopyFailed}, {"Yes", true, &kSourceFailed}};
    for (const auto& round : rounds) {
        SCOPED_TRACE(round.failure ? round.failure->text : "No");
        MessageBoxInfo question = setup.Install();
        EXPECT_EQ(Appearance({"The Vellmor needs 3 MB of free space on the destination drive, "
                              "which has only 0 MB free.\n\nInstall anyway?",
                              "Not Enough Space", MB_YESNO | MB_ICONEXCLAMATION}),
                  Appearance(question));
        // With VELLMOR_SETUP_RELAUNCH=1 setup's elevated part asks, over the
        // dialog.
        DWORD asker = 0;
        GetWindowThreadProcessId(question.window, &asker);
        const char* relaunch = getenv("VELLMOR_SETUP_RELAUNCH");
        EXPECT_EQ(relaunch && std::string(relaunch) == "1", asker != setup.Id());
        for (HWND button : ChildWindows(question.window, "Button"))
            EXPECT_EQ(WindowText(button) == "&No",
                      (GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                << WindowText(button) << ": No is the default";
        if (round.ejectFirst)
            EjectDisc(kDisc);
        setup.Answer(question, round.answer);
        if (round.failure)
            setup.ExpectFailure(setup.NextBox(), *round.failure);
        else
            setup.Drain();
        EXPECT_EQ(std::vector<std::string>{JoinPath(root, "Keep.txt")}, EntriesOf(root));
        ExpectNothingRecorded(setup);
    }
}

// Setup run by a script: each row a command line on the machine as the rows
// before left it, its exit status, and what it leaves. No window ever
// appears, and nothing is started.
TEST(Install, UnattendedRunsAnswerWithTheirExitCodes) {
    SmallFixedDrive small;
    if (!small.Mounted())
        GTEST_SKIP() << "a memory drive needs root";
    const Medium disc = Medium::Product()
                            .WithFile("The Vellmor\\SetupGlide.dll", "helper")
                            .WithFile("The Vellmor\\Data\\Big.dat", std::string(2 << 20, 'x'))
                            .WithLanguage(kGerman.name, GermanTexts());
    const std::string installDir = "C:\\Games\\The Vellmor";
    const std::string blocker = "C:\\Games\\The Vellmor";
    static const char kNoMediumLine[] =
        "medium: failed: Please Insert The Vellmor CD in a CD ROM drive and run Setup again";
    InsertDisc(kDisc, disc);
    // A folder on the way that another program keeps open without sharing
    // could be swapped meanwhile: refused, as a link is.
    HANDLE held = INVALID_HANDLE_VALUE;
    const struct {
        const char* what;
        std::function<void()> arrange;
        std::string arguments;
        int exit;
        const char* lastLogLine; // of C:\setup.log; null: no log written
    } rows[] = {
        {"unknown switch", [] {}, "/S /QUIET /LOG=C:\\setup.log", kExitUsage, nullptr},
        {"value missing", [] {}, "/VERYSILENT /DIR= /LOG=C:\\setup.log", kExitUsage, nullptr},
        {"language the disc lacks", [] {}, "/S /LANG=Klingon /LOG=C:\\setup.log", kExitUsage,
         "language: failed: the disc has no language \"Klingon\""},
        {"no disc", [] { EjectDisc(kDisc); }, "/S /LOG=C:\\setup.log", kExitNoMedium,
         kNoMediumLine},
        {"relative folder", [&] { InsertDisc(kDisc, disc); }, "/S /DIR=Games /LOG=C:\\setup.log",
         kExitPathRefused,
         "destination: failed: Please type the destination folder's full path, "
         "such as C:\\Games or \\\\Server\\Share\\Games."},
        {"no room", [] {}, "/S /DIR=G:\\Games /LOG=C:\\setup.log", kExitNoSpace,
         "room: 3 MB needed, 1 MB free"},
        // The elevated part installs from the disc the player's run found,
        // or from none: it never looks for one itself. It writes no file the
        // player named: its log is its own, which the player's run copies.
        {"elevated part given a log", [] {}, "/ELEVATED /S /SOURCE=E:\\ /LOG=C:\\setup.log",
         kExitUsage, nullptr},
        {"elevated part without the disc's root", [] {}, "/ELEVATED /S", kExitNoMedium, nullptr},
        {"elevated part given a fixed disk that holds the game",
         [] {
             MakeFolders("C:\\The Vellmor");
             WriteWholeFile("C:\\The Vellmor\\Vellmor.exe", "game");
         },
         "/ELEVATED /S /SOURCE=C:\\", kExitNoMedium, nullptr},
        {"elevated part given another disc", [] { InsertDisc('F', Medium::Foreign()); },
         "/ELEVATED /S \"/SOURCE=F:\\\"", kExitNoMedium, nullptr},
        {"elevated part given a folder of the disc", [] {},
         "/ELEVATED /S /SOURCE=E:\\Languages\\..\\", kExitNoMedium, nullptr},
        {"a folder on the way that another program holds",
         [&] {
             MakeFolders("C:\\Held");
             held = CreateFileA("C:\\Held", FILE_LIST_DIRECTORY, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
             ASSERT_NE(INVALID_HANDLE_VALUE, held);
         },
         "/S /DIR=C:\\Held /LOG=C:\\setup.log", kExitLinkRefused,
         "way to the folder: failed: \"C:\\Held\" cannot be locked against changes (another "
         "program may have it open); nothing was changed."},
        {"a file where the game goes",
         [&] {
             CloseHandle(held);
             EXPECT_EQ(std::vector<std::string>{}, EntriesOf("C:\\Held"));
             MakeFolders("C:\\Games");
             WriteWholeFile(blocker, "in the way");
         },
         "/S /DIR=C:\\Games /LOG=C:\\setup.log", kExitCopyFailed,
         "copy: failed: The files could not be copied."},
        {"fresh", [&] { ASSERT_TRUE(DeleteFileA(blocker.c_str())); },
         "/VERYSILENT /DIR=\"C:\\Games\" /LANG=Deutsch /LOG=\"C:\\setup.log\"", kExitInstalled,
         "result: 0"},
        {"over the earlier one, NSIS style",
         [&] { WriteWholeFile(JoinPath(installDir, "Vellmor.exe"), "damaged"); }, "/s /d=C:\\Games",
         kExitInstalled, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        DeleteFileA("C:\\setup.log");
        row.arrange();
        Process setup = Process::Start(SetupExe(), {row.arguments, "", false});
        EXPECT_EQ(nullptr,
                  windriver::WaitForDialogBoxWhileRunning(setup.Id(), setup.Handle(), nullptr));
        EXPECT_EQ(static_cast<DWORD>(row.exit), setup.ExitCode());
        WaitForProgramsStartedBy(setup.Id());
        EXPECT_TRUE(ReadStubStarts().empty());
        std::string log = FileExists("C:\\setup.log") ? ReadWholeFile("C:\\setup.log") : "";
        if (row.lastLogLine) {
            EXPECT_NE(std::string::npos, log.find(std::string(row.lastLogLine) + "\r\n")) << log;
        } else if (row.exit == kExitUsage) {
            EXPECT_EQ("", log) << "a refused command line writes nothing";
        }
        if (row.exit != kExitInstalled) {
            EXPECT_FALSE(FolderExists(installDir)) << log;
            EXPECT_FALSE(HklmKeyExists(kInstalledKey));
        }
    }
    // The last run went over the earlier one in the language the dialog
    // offers first, and repaired it.
    ExpectInstallationInPlace(installDir, kEnglish, false);
    // A step after the copy fails: installed, but incomplete.
    UnwritableInstallKey unwritable;
    Process setup = Process::Start(SetupExe(), {"/S /LOG=C:\\setup.log", "", false});
    ASSERT_TRUE(setup.WaitForExit(kTimeoutMs));
    EXPECT_EQ(static_cast<DWORD>(kExitIncomplete), setup.ExitCode());
    EXPECT_NE(
        std::string::npos,
        ReadWholeFile("C:\\setup.log")
            .find("registry: failed: Could not record the installation in the registry!\r\n"));
}

// The uninstaller, run the way Apps & features runs it: Wine's own
// uninstaller lists the entry and starts its UninstallString. It removes
// what setup made, keeps what the player added and a recorded Start Menu
// link that is in use (a program outside the game holds it), and says so;
// setup then installs as on a fresh machine.
TEST(Install, UninstallerRemovesWhatSetupMadeAndKeepsTheRest) {
    InsertDisc(kDisc, Medium::Product().WithFile("The Vellmor\\Data\\Start.map", "map"));
    const std::string installDir = "C:\\Games\\The Vellmor";
    Process install = Process::Start(SetupExe(), {"/S /DIR=C:\\Games", "", false});
    ASSERT_TRUE(install.WaitForExit(kTimeoutMs));
    ASSERT_EQ(0u, install.ExitCode());
    ExpectInstallationInPlace(installDir, kEnglish, false);
    const std::string uninstaller = EntryUninstaller();
    EXPECT_EQ("1.0", ReadHklmValue(kEntry, "DisplayVersion").AsString());
    RunResult listed =
        RunProgram("C:\\windows\\system32\\uninstaller.exe", "--list", "C:\\", kTimeoutMs);
    EXPECT_NE(std::string::npos, listed.output.find("The Vellmor")) << listed.output;

    // The player's save and own file, a maker's sibling key, a recorded link
    // in use, which only reading may share.
    MakeFolders(installDir + "\\Saves");
    WriteWholeFile(installDir + "\\Saves\\slot1.sav", "saved");
    WriteWholeFile(installDir + "\\Data\\Notes.txt", "mine");
    WriteHklmString("Software\\Brightfen\\Other Game", "InstallPath", "C:\\Other");
    const std::string held = JoinPath(MenuFolder(), "The Vellmor.lnk");
    HANDLE inUse = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, inUse);

    Process remove = Process::Start("C:\\windows\\system32\\uninstaller.exe",
                                    {"--remove \"The Vellmor\"", "C:\\", false});
    HWND question = nullptr;
    WaitUntil(
        [&] { return (question = FindWindowA("#32770", "Uninstall The Vellmor")) != nullptr; },
        "the uninstaller's question");
    EXPECT_EQ(Appearance({"Do you want to remove The Vellmor and its Start Menu shortcuts?\n\n"
                          "Saved games and other files that setup did not install are kept.",
                          "Uninstall The Vellmor", MB_YESNO | MB_ICONQUESTION}),
              Appearance(ReadMessageBox(question)));
    DWORD uninstallerId = 0;
    GetWindowThreadProcessId(question, &uninstallerId);
    HANDLE uninstallerProcess = OpenProcess(SYNCHRONIZE, FALSE, uninstallerId);
    ASSERT_NE(nullptr, uninstallerProcess);
    ASSERT_TRUE(PostClickOn(question, "&Yes"));
    HWND closing = nullptr;
    WaitUntil(
        [&] {
            closing = FindWindowA("#32770", "Uninstall The Vellmor");
            return closing && closing != question;
        },
        "the uninstaller's closing message");
    // Something stayed: a warning.
    const std::string removed = "The Vellmor has been removed.\n\nThese could not be removed:\n" +
                                held + "\n\nFiles that setup did not install are still in " +
                                installDir + ".";
    EXPECT_EQ(Appearance({removed.c_str(), "Uninstall The Vellmor", MB_ICONEXCLAMATION}),
              Appearance(ReadMessageBox(closing)));
    ASSERT_TRUE(PostClickOn(closing, "OK"));
    ASSERT_TRUE(remove.WaitForExit(kTimeoutMs));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(uninstallerProcess, kTimeoutMs));
    CloseHandle(uninstallerProcess);
    WaitForProgramsStartedBy(uninstallerId);
    CloseHandle(inUse);
    // Its record is gone; the program, which was running, its texts and its
    // folder go when Windows next starts.
    const std::string home = FolderOf(uninstaller);
    EXPECT_EQ((std::vector<std::string>{uninstaller}), EntriesOf(home));
    const std::string pending = ReadHklmValue("System\\CurrentControlSet\\Control\\Session Manager",
                                              "PendingFileRenameOperations")
                                    .AsString(); // its first path, "\??\<program>"
    EXPECT_NE(std::string::npos, pending.find(uninstaller)) << pending;

    EXPECT_EQ((std::map<std::string, std::string>{{"Data", "<folder>"},
                                                  {"Data\\Notes.txt", "mine"},
                                                  {"Saves", "<folder>"},
                                                  {"Saves\\slot1.sav", "saved"}}),
              Tree(installDir, false));
    EXPECT_EQ(std::vector<std::string>{held}, EntriesOf(MenuFolder()));
    EXPECT_FALSE(HklmKeyExists(kInstalledKey));
    EXPECT_FALSE(HklmKeyExists(kEntry));
    EXPECT_TRUE(HklmKeyExists("Software\\Brightfen\\Other Game"));

    // No offer to play any more, and a fresh installation elsewhere.
    Session setup;
    ASSERT_TRUE(setup.WaitForDialog());
    EXPECT_EQ("C:\\Program Files", setup.Field());
    setup.SetField("C:\\Other");
    ExpectCompleteInstallation(setup, setup.Install(), "C:\\Other\\The Vellmor");

    // Unattended, as a script runs the entry's QuietUninstallString: no
    // window, and with nothing of the player's inside, no folder left.
    Process quiet = Process::Start(EntryUninstaller(), {"/UNINSTALL /VERYSILENT", "C:\\", false});
    EXPECT_EQ(nullptr,
              windriver::WaitForDialogBoxWhileRunning(quiet.Id(), quiet.Handle(), nullptr));
    EXPECT_EQ(0u, quiet.ExitCode());
    WaitForProgramsStartedBy(quiet.Id());
    EXPECT_EQ(std::vector<std::string>{}, EntriesOf("C:\\Other"));
    EXPECT_FALSE(FolderExists(MenuFolder()));
    EXPECT_FALSE(HklmKeyExists(kEntry));
}

// Two installations in two folders, each with its own uninstaller; what a
// command line or a standard user can put in the way of the first one's
// removal is refused or not followed, and the second keeps all of its own.
TEST(Install, RemovingOneOfTwoInstallationsFollowsNoSwitchAndNoLink) {
    InsertDisc(kDisc, Medium::Product().WithFile("The Vellmor\\Data\\Start.map", "map"));
    auto run = [](const std::string& program, const std::string& arguments) {
        Process process = Process::Start(program, {arguments, "C:\\", false});
        EXPECT_EQ(nullptr,
                  windriver::WaitForDialogBoxWhileRunning(process.Id(), process.Handle(), nullptr));
        return process.ExitCode();
    };
    ASSERT_EQ(0u, run(SetupExe(), "/S /DIR=C:\\Games"));
    const std::string first = EntryUninstaller();
    const std::string record = ReadWholeFile(JoinPath(FolderOf(first), "Uninstall.log"));
    ASSERT_EQ(0u, run(SetupExe(), "/S /DIR=C:\\Other"));
    const std::string second = EntryUninstaller();
    EXPECT_NE(FolderOf(first), FolderOf(second));

    // Switches aimed at a foreign folder, the log at the game or the
    // record, or over a file: refused before anything is touched.
    MakeFolders("C:\\Anything");
    WriteWholeFile("C:\\Anything\\Uninstall.exe", "not the game's");
    WriteWholeFile("C:\\exists.log", "a file");
    // Every uninstaller's folder is out of bounds, however it is named: by
    // its short name, or through a link (a Unix symbolic link, which Wine
    // shows as a reparse point, standing in for a junction).
    const std::string uninstallers = "C:\\Program Files\\Brightfen";
    char shortName[MAX_PATH] = "";
    ASSERT_NE(0u, GetShortPathNameA(uninstallers.c_str(), shortName, sizeof shortName));
    EXPECT_STRNE(uninstallers.c_str(), shortName);
    ASSERT_EQ(0u, RunLinuxShell("ln -s '" + LinuxPath(uninstallers) + "' '" +
                                LinuxPath("C:\\LogLink") + "'"));
    for (const std::string& arguments :
         {"/UNINSTALL /S \"/LOG=" + FolderOf(second) + "\\u.log\"",
          "/UNINSTALL /S \"/LOG=" + uninstallers + "\\u.log\"",
          std::string("/UNINSTALL /S /LOG=C:\\LogLink\\u.log"),
          "/UNINSTALL /S \"/LOG=" + std::string(shortName) + "\\u.log\"",
          std::string("/UNINSTALL /S /FINISH=1 /DIR=C:\\Anything"),
          std::string("/UNINSTALL /S \"/DIR=C:\\Anything\""),
          std::string("/UNINSTALL /S \"/LOG=C:\\Games\\The Vellmor\\u.log\""),
          std::string("/UNINSTALL /S \"/LOG=C:\\Games\\x\\..\\the vellmor\\Data\\u.log\""),
          "/UNINSTALL /S \"/LOG=" + FolderOf(first) + "\\Uninstall.log\"",
          std::string("/UNINSTALL /S /LOG=C:\\exists.log")}) {
        SCOPED_TRACE(arguments);
        EXPECT_EQ(static_cast<DWORD>(kExitUsage), run(first, arguments));
        EXPECT_EQ(record, ReadWholeFile(JoinPath(FolderOf(first), "Uninstall.log")));
    }
    EXPECT_EQ("not the game's", ReadWholeFile("C:\\Anything\\Uninstall.exe"));
    EXPECT_EQ("a file", ReadWholeFile("C:\\exists.log"));
    EXPECT_FALSE(FileExists(uninstallers + "\\u.log"));
    EXPECT_FALSE(FileExists(FolderOf(second) + "\\u.log"));

    // A copy of the first's uninstaller with its record, run from another
    // folder: it trusts neither, and removes nothing.
    MakeFolders("C:\\Copy");
    CopyOneFile(JoinPath(FolderOf(first), "Uninstall.log"), "C:\\Copy\\Uninstall.log");
    CopyOneFile(first, "C:\\Copy\\Setup.exe");
    EXPECT_EQ(static_cast<DWORD>(kExitNotFromHome), run("C:\\Copy\\Setup.exe", "/UNINSTALL /S"));
    EXPECT_TRUE(FileExists("C:\\Games\\The Vellmor\\Vellmor.exe"));
    // Started through a link to its own folder, it refuses too: it would
    // leave its deletions at the next start under the link's name.
    ASSERT_EQ(0u, RunLinuxShell("ln -s '" + LinuxPath(FolderOf(first)) + "' '" +
                                LinuxPath("C:\\HomeLink") + "'"));
    EXPECT_EQ(static_cast<DWORD>(kExitNotFromHome),
              run("C:\\HomeLink" + first.substr(first.find_last_of('\\')), "/UNINSTALL /S"));
    EXPECT_TRUE(FileExists("C:\\Games\\The Vellmor\\Vellmor.exe"));
    EXPECT_EQ("", ReadHklmValue("System\\CurrentControlSet\\Control\\Session Manager",
                                "PendingFileRenameOperations")
                      .AsString());

    // A standard user puts a link in place of an installed folder, leading
    // to files of the same names elsewhere.
    MakeFolders("C:\\Elsewhere");
    WriteWholeFile("C:\\Elsewhere\\Start.map", "not the game's");
    ASSERT_EQ(0u, RunLinuxShell("rm -r '" + LinuxPath("C:\\Games\\The Vellmor\\Data") +
                                "' && ln -s '" + LinuxPath("C:\\Elsewhere") + "' '" +
                                LinuxPath("C:\\Games\\The Vellmor\\Data") + "'"));
    ASSERT_TRUE(GetFileAttributesA("C:\\Games\\The Vellmor\\Data") & FILE_ATTRIBUTE_REPARSE_POINT);

    // The first's removal: what is reached through the link stays, and is
    // said to have stayed; the second installation keeps everything.
    EXPECT_EQ(static_cast<DWORD>(kExitIncomplete),
              run(first, "/UNINSTALL /S /LOG=C:\\uninstall.log"));
    EXPECT_EQ("not the game's", ReadWholeFile("C:\\Elsewhere\\Start.map"));
    EXPECT_NE(std::string::npos,
              ReadWholeFile("C:\\uninstall.log")
                  .find("not removed: \"C:\\Games\\The Vellmor\\Data\\Start.map\"\r\n"));
    EXPECT_FALSE(FileExists("C:\\Games\\The Vellmor\\Vellmor.exe"));
    EXPECT_EQ(second, EntryUninstaller());
    ExpectInstallationInPlace("C:\\Other\\The Vellmor", kEnglish, false);
}
namespace {

// Unix links stand in for the junctions a standard user can make in
// C:\Games on Windows 2000 and later: Wine shows them as reparse points
// (0x410), on every Windows version it reports.
void MakeLink(const std::string& link, const std::string& target, Where where = Where::Here()) {
    Require(RunLinuxShell("ln -s '" + LinuxPath(target) + "' '" + LinuxPath(link) + "'") == 0,
            where, "cannot link " + link);
    Require(GetFileAttributesA(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, where,
            link + " shows no reparse point");
}

std::string LinkRefusal(const std::string& link) {
    return link + " is a link to another folder; choose the folder it leads to.";
}

// As the log says it: the link's path quoted.
std::string LoggedRefusal(const std::string& link) {
    return LinkRefusal("\"" + link + "\"");
}

} // namespace

// A link on the way to the game folder, or in an existing one, refuses the
// installation before anything is written through it; a link put above the
// game folder after it was installed refuses its removal, and one put in it
// is not followed: the other folder keeps its files of the same names.
TEST(Install, NothingIsWrittenOrRemovedThroughALink) {
    InsertDisc(kDisc, Medium::Product()
                          .WithFile("The Vellmor\\SetupGlide.dll", "helper")
                          .WithFile("The Vellmor\\Data\\Notes.txt", "the game's"));
    MakeFolders("C:\\Victim\\Data");
    WriteWholeFile("C:\\Victim\\Vellmor.exe", "the victim's");
    WriteWholeFile("C:\\Victim\\SetupGlide.dll", "the victim's");
    WriteWholeFile("C:\\Victim\\Data\\Notes.txt", "the victim's");
    const std::map<std::string, std::string> victim = Tree("C:\\Victim");
    auto run = [](const std::string& program, const std::string& arguments) {
        DeleteFileA("C:\\setup.log");
        Process process =
            Process::Start(program, {arguments + " /LOG=C:\\setup.log", "C:\\", false});
        EXPECT_EQ(nullptr,
                  windriver::WaitForDialogBoxWhileRunning(process.Id(), process.Handle(), nullptr));
        WaitForProgramsStartedBy(process.Id());
        return process.ExitCode();
    };
    const struct {
        const char* what;
        std::string link, target, typed;
    } rows[] = {
        {"the product folder", "C:\\Games\\The Vellmor", "C:\\Victim", "C:\\Games"},
        {"the install root", "C:\\Linked", "C:\\Victim", "C:\\Linked"},
        {"a folder above the root", "C:\\Above", "C:\\", "C:\\Above\\Victim"},
    };
    MakeFolders("C:\\Games");
    MakeFolders("C:\\Own\\The Vellmor");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        MakeLink(row.link, row.target);
        EXPECT_EQ(static_cast<DWORD>(kExitLinkRefused), run(SetupExe(), "/S /DIR=" + row.typed));
        EXPECT_NE(std::string::npos,
                  ReadWholeFile("C:\\setup.log")
                      .find("way to the folder: failed: " + LoggedRefusal(row.link) + "\r\n"));
        EXPECT_EQ(victim, Tree("C:\\Victim"));
        EXPECT_FALSE(HklmKeyExists(kInstalledKey));
    }
    // The dialog says it, and stays open for another folder.
    {
        Session setup;
        setup.WaitForDialog();
        setup.SetField("C:\\Games");
        setup.ExpectFailure(setup.Install(),
                            {LinkRefusal("C:\\Games\\The Vellmor").c_str(), "Error", true});
        EXPECT_EQ(victim, Tree("C:\\Victim"));
        EXPECT_EQ(0u, setup.Exit());
    }

    // A link in an earlier game folder is never written through: the
    // folder moves aside whole. (Wine opens a Unix link's target even when
    // asked for the link itself, so here the link stays in setup's folder
    // instead of moving into the game folder as the player's.)
    MakeLink("C:\\Own\\The Vellmor\\Data", "C:\\Victim\\Data");
    EXPECT_EQ(0u, run(SetupExe(), "/S /DIR=C:\\Own"));
    EXPECT_EQ(victim, Tree("C:\\Victim"));
    EXPECT_EQ("the game's", ReadWholeFile("C:\\Own\\The Vellmor\\Data\\Notes.txt"));

    // Installed into a plain folder, which is then moved away and replaced
    // by a link to another folder with files of the same names.
    ASSERT_EQ(0u, RunLinuxShell("rm -r '" + LinuxPath("C:\\Games") + "'"));
    ASSERT_EQ(0u, run(SetupExe(), "/S /DIR=C:\\Games"));
    ASSERT_EQ(0u, RunLinuxShell("mv '" + LinuxPath("C:\\Games") + "' '" + LinuxPath("C:\\Moved") +
                                "' && cp -a '" + LinuxPath("C:\\Moved") + "' '" +
                                LinuxPath("C:\\Victim\\Games") + "'"));
    MakeLink("C:\\Games", "C:\\Victim\\Games");
    const std::map<std::string, std::string> copied = Tree("C:\\Victim\\Games");
    EXPECT_EQ(static_cast<DWORD>(kExitLinkRefused), run(EntryUninstaller(), "/UNINSTALL /S"));
    EXPECT_NE(std::string::npos,
              ReadWholeFile("C:\\setup.log")
                  .find("way to the folder: failed: " + LoggedRefusal("C:\\Games") + "\r\n"));
    EXPECT_EQ(copied, Tree("C:\\Victim\\Games"));
    EXPECT_TRUE(HklmKeyExists(kEntry));

    // The game folder back in its place, with a link in place of its Data
    // folder: what lies through the link stays, and is said to have stayed.
    ASSERT_EQ(0u, RunLinuxShell("rm '" + LinuxPath("C:\\Games") + "' && mv '" +
                                LinuxPath("C:\\Moved") + "' '" + LinuxPath("C:\\Games") +
                                "' && rm -r '" + LinuxPath("C:\\Games\\The Vellmor\\Data") + "'"));
    MakeLink("C:\\Games\\The Vellmor\\Data", "C:\\Victim\\Data");
    EXPECT_EQ(static_cast<DWORD>(kExitIncomplete), run(EntryUninstaller(), "/UNINSTALL /S"));
    EXPECT_NE(std::string::npos,
              ReadWholeFile("C:\\setup.log")
                  .find("not removed: \"C:\\Games\\The Vellmor\\Data\\Notes.txt\"\r\n"));
    EXPECT_EQ("the victim's", ReadWholeFile("C:\\Victim\\Data\\Notes.txt"));
    EXPECT_FALSE(FileExists("C:\\Games\\The Vellmor\\Vellmor.exe"));
}

// A program that holds a file of the installation open and lets others only
// read it (the running game, played here by the test itself): before anything is
// written or removed, a script's run ends with its own exit code and the
// dialog and the uninstaller ask to close it, with Retry and Cancel.
TEST(Install, FilesHeldByAProgramStopTheReinstallationAndTheRemoval) {
    InsertDisc(kDisc, Medium::Product().WithFile("The Vellmor\\Data\\Start.map", "map"));
    const std::string installDir = "C:\\Games\\The Vellmor";
    const std::string held = installDir + "\\Data\\Start.map";
    Process install = Process::Start(SetupExe(), {"/S /DIR=C:\\Games", "", false});
    ASSERT_TRUE(install.WaitForExit(kTimeoutMs));
    ASSERT_EQ(0u, install.ExitCode());
    // A reinstallation would repair it: that it stays shows nothing was written.
    WriteWholeFile(installDir + "\\Vellmor.exe", "damaged");
    const std::map<std::string, std::string> before = Tree(installDir);
    HANDLE game = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, game);
    const std::string inUse = "Files in " + installDir + " are in use (" + held +
                              "). Close the game and choose Retry, or Cancel to change nothing.";
    const SetupMessage kInUse = {inUse.c_str(), "Files in Use",
                                 MB_RETRYCANCEL | MB_ICONEXCLAMATION};

    for (const std::string& program : {SetupExe(), EntryUninstaller()}) {
        SCOPED_TRACE(program);
        DeleteFileA("C:\\setup.log");
        const std::string arguments = program == SetupExe() ? "/S /DIR=C:\\Games" : "/UNINSTALL /S";
        Process run = Process::Start(program, {arguments + " /LOG=C:\\setup.log", "C:\\", false});
        EXPECT_EQ(nullptr,
                  windriver::WaitForDialogBoxWhileRunning(run.Id(), run.Handle(), nullptr));
        EXPECT_EQ(static_cast<DWORD>(kExitFilesInUse), run.ExitCode());
        EXPECT_NE(std::string::npos,
                  ReadWholeFile("C:\\setup.log")
                      .find("files in use: failed: \"" + installDir + "\" (\"" + held + "\")\r\n"));
        EXPECT_EQ(before, Tree(installDir));
        EXPECT_TRUE(HklmKeyExists(kEntry));
    }

    // The dialog asks again on Retry, and Cancel leaves it open with
    // nothing written.
    {
        Session setup;
        DeclineTheOffer(setup);
        setup.SetField("C:\\Games");
        MessageBoxInfo box = setup.Install();
        EXPECT_EQ(Appearance(kInUse) + ", owned",
                  Appearance(box) + (box.owner == setup.Dialog() ? ", owned" : ""));
        setup.Answer(box, "Retry");
        box = setup.NextBox();
        EXPECT_EQ(Appearance(kInUse), Appearance(box));
        setup.Answer(box, "Cancel");
        setup.Drain();
        EXPECT_TRUE(setup.OtherBoxes().empty());
        EXPECT_TRUE(IsEnabled(setup.Dialog()));
        EXPECT_EQ(before, Tree(installDir));
        EXPECT_EQ(0u, setup.Exit());
    }

    // The uninstaller asks after its question; once the game has ended,
    // Retry removes it.
    Process remove = Process::Start(EntryUninstaller(), {"/UNINSTALL", "C:\\", false});
    HWND question = WaitForDialogBox(remove.Id(), nullptr, kTimeoutMs);
    ASSERT_NE(nullptr, question);
    ASSERT_TRUE(PostClickOn(question, "Yes"));
    ASSERT_TRUE(WaitForWindowGone(question, kTimeoutMs));
    HWND box = WaitForDialogBox(remove.Id(), nullptr, kTimeoutMs);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(Appearance(kInUse), Appearance(ReadMessageBox(box)));
    EXPECT_EQ(before, Tree(installDir));
    CloseHandle(game);
    ASSERT_TRUE(PostClickOn(box, "Retry"));
    ASSERT_TRUE(WaitForWindowGone(box, kTimeoutMs));
    HWND done = WaitForDialogBox(remove.Id(), nullptr, kTimeoutMs);
    ASSERT_NE(nullptr, done);
    EXPECT_EQ("The Vellmor has been removed.", ReadMessageBox(done).text);
    ASSERT_TRUE(PostClickOn(done, "OK"));
    ASSERT_TRUE(remove.WaitForExit(kTimeoutMs));
    EXPECT_EQ(0u, remove.ExitCode());
    EXPECT_FALSE(FileExists(held));
    EXPECT_FALSE(HklmKeyExists(kEntry));
}

namespace {

// Whether `window` lies above `other` among the top-level windows. The
// stacking order is the prefix's own; the foreground follows the X focus,
// which tests that run at once on one display take from one another.
bool Above(HWND window, HWND other) {
    for (HWND at = GetTopWindow(nullptr); at; at = GetWindow(at, GW_HWNDNEXT)) {
        if (at == window || at == other)
            return at == window;
    }
    return false;
}

} // namespace

// One installation or removal at a time: a second setup brings the first
// one's window forward (above another program's window) and ends, and so
// does a script's run, with Windows Installer's code for it; neither
// writes anything.
TEST(Install, ASecondSetupBringsTheFirstForwardAndEnds) {
    InsertDisc(kDisc, Medium::Product());
    Session first;
    HWND dialog = first.WaitForDialog();
    Process notepad = Process::Start("C:\\windows\\notepad.exe");
    HWND other = WaitForWindow(notepad.Id(), nullptr, "Notepad", kTimeoutMs);
    ASSERT_NE(nullptr, other);
    WaitUntil([&] { return Above(other, dialog); }, "another program's window above the dialog");
    for (const char* arguments : {"", "/S /DIR=C:\\Games", "/UNINSTALL /S"}) {
        SCOPED_TRACE(arguments);
        Process second = Process::Start(SetupExe(), {arguments, "", false});
        EXPECT_EQ(nullptr,
                  windriver::WaitForDialogBoxWhileRunning(second.Id(), second.Handle(), nullptr));
        EXPECT_EQ(static_cast<DWORD>(kExitSetupRunning), second.ExitCode());
    }
    WaitUntil([&] { return Above(dialog, other); }, "the dialog above the other window");
    EXPECT_FALSE(FolderExists("C:\\Games"));
    EXPECT_EQ(0u, first.Exit());
}
