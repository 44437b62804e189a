// Opening the setup dialog and changing its language, seen from outside:
// the real Setup.exe on the test prefix, with the registry, the drives and
// the language files prepared before it starts.

#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "E2e.h"
#include "res/resource.h"
#include "text/LanguageWriter.h"
#include "text/TextCatalogue.h"

using namespace e2e;

namespace {

const char kRegistryKey[] = "Software\\Brightfen\\The Vellmor";
const char kInstallPath[] = "InstallPath";
const char kDefaultRoot[] = "C:\\Program Files";
// The question about an installation whose own texts lack it.
const char kFixedQuestion[] = "The Vellmor is already installed. Do you want to start it now?";
const char kFixedQuestionCaption[] = "The Vellmor";

// The dialog's six language-dependent texts in a fixed order: title,
// "install to" label, language label, Browse, Install, Exit.
using DialogTexts = std::vector<std::string>;

DialogTexts ReadDialogTexts(HWND dialog) {
    return {WindowText(dialog),
            ControlText(dialog, IDC_LABEL_INSTALL_TO),
            ControlText(dialog, IDC_LABEL_LANGUAGE),
            ControlText(dialog, IDC_BROWSE),
            ControlText(dialog, IDOK),
            ControlText(dialog, IDCANCEL)};
}

// The texts a table gives the dialog, by the indexes of DialogTexts' order.
Texts TableFor(const DialogTexts& texts) {
    return {{TXT_DIALOG_TITLE, texts[0]},
            {TXT_INSTALL_TO, texts[1]},
            {TXT_LANGUAGE_SELECTION, texts[2]},
            {TXT_BROWSE, texts[3]},
            {TXT_INSTALL, texts[4]},
            {TXT_EXIT, texts[5]}};
}

const DialogTexts kEnglish = {
    "The Vellmor Setup", "Install to:", "Language:", "Browse...", "Install", "Exit"};
const DialogTexts kTemplate = {"The Vellmor Setup", "Install to:", "Language Selection",
                               "&Browse...",        "&Install",    "E&xit"};
const DialogTexts kGerman = {"Die Vellmor Installation", "Installieren nach:", "Sprache:",
                             "Durchsuchen...",           "Installieren",       "Beenden"};

// Writes `folder`\language.sif/.poo, as an installation holds them.
void WriteInstalledLanguage(const std::string& folder, const Texts& texts) {
    std::vector<LanguageText> records;
    for (const auto& text : texts)
        records.push_back({text.first, text.second.c_str()});
    std::string base = JoinPath(folder, "language");
    ASSERT_TRUE(WriteLanguageTable(base.c_str(), records.data(), records.size())) << base;
}

// An earlier installation: the stub as the game in `folder`, recorded in
// the registry.
void RecordInstallation(const std::string& folder) {
    MakeFolders(folder);
    CopyOneFile(StubExe(), JoinPath(folder, "Vellmor.exe"));
    WriteHklmString(kRegistryKey, kInstallPath, folder);
}

// The install-path field of a Setup run that is expected to open its dialog
// without asking anything; Setup is closed again.
std::string FieldOfPlainStart() {
    Session setup;
    setup.WaitForDialog();
    std::string field = setup.Field();
    EXPECT_EQ(0u, setup.Exit());
    WaitForProgramsStartedBy(setup.Id());
    return field;
}

// Whether `window` became visible before process `setup` ended. No event
// tells another process that a window was shown (Wine gives no window
// events across processes), so it looks every millisecond, leaving the cores
// to setup in between.
bool ShownBeforeExit(const Process& setup, HWND window) {
    DWORD start = GetTickCount();
    while (WaitForSingleObject(setup.Handle(), 1) == WAIT_TIMEOUT) {
        if (IsWindowVisible(window))
            return true;
        if (GetTickCount() - start >= kTimeoutMs)
            throw std::runtime_error("setup did not end");
    }
    return false;
}

// Stores `text` as a REG_SZ of exactly its characters, without a NUL. The
// ANSI call cannot: the system counts a NUL that follows the data.
void WriteUnterminatedString(const std::string& key, const std::string& name,
                             const std::string& text) {
    WriteHklmString(key, name, ""); // creates the key
    HKEY handle;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_WRITE, &handle));
    // A character after the data keeps the system from counting a NUL.
    std::wstring wide(text.begin(), text.end());
    std::wstring wideName(name.begin(), name.end());
    wide += L'X';
    LONG status = RegSetValueExW(handle, wideName.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(wide.c_str()),
                                 static_cast<DWORD>(text.size() * sizeof(WCHAR)));
    RegCloseKey(handle);
    ASSERT_EQ(ERROR_SUCCESS, status);
    RegistryValue stored = ReadHklmValue(key, name);
    ASSERT_EQ(text, std::string(stored.data.begin(), stored.data.end()))
        << "the value was stored with a NUL";
}

} // namespace

TEST(InitDialog, RecordedInstallationAsksWithItsOwnTextsAndNoKeepsTheRoot) {
    InsertDisc('E', Medium::Product());
    const std::string folder = "C:\\Games\\The Vellmor";
    RecordInstallation(folder);
    WriteInstalledLanguage(folder, {{TXT_RUN_INSTALLED, "Schon installiert. Jetzt spielen?"},
                                    {TXT_RUN_INSTALLED_CAPTION, "Vellmor gefunden"}});

    Session setup;
    MessageBoxInfo question = setup.NextBox();
    EXPECT_EQ("Schon installiert. Jetzt spielen?", question.text);
    EXPECT_EQ("Vellmor gefunden", question.caption);
    EXPECT_EQ((std::vector<std::string>{"Yes", "No"}), question.buttons);
    // Owned by the dialog, which is not shown while the question is open.
    ASSERT_TRUE(question.owner);
    EXPECT_TRUE(GetDlgItem(question.owner, IDC_LANGUAGE)) << "not owned by the setup dialog";
    EXPECT_FALSE(IsVisible(question.owner));

    setup.Answer(question, "No");
    HWND dialog = setup.WaitForDialog();
    ASSERT_EQ(question.owner, dialog) << "another dialog opened after No";
    EXPECT_EQ("C:\\Games", setup.Field());
    EXPECT_EQ(kEnglish, ReadDialogTexts(dialog)) << "the medium's language follows as usual";
    WaitForProgramsStartedBy(setup.Id());
    EXPECT_TRUE(ReadStubStarts().empty()) << "No must not start the game";
    EXPECT_EQ(0u, setup.Exit());

    // Without the disc the question still comes; only after No is the
    // medium looked for, and its absence ends setup.
    EjectDisc('E');
    Session again;
    question = again.NextBox();
    EXPECT_EQ("Vellmor gefunden", question.caption);
    again.Answer(question, "No");
    MessageBoxInfo missing = again.NextBox();
    EXPECT_EQ(kNoMediumText, missing.text);
    EXPECT_EQ(kNoMediumCaption, missing.caption);
    again.Answer(missing, "OK");
    EXPECT_EQ(0xFFFFFFFFu, again.WaitForEnd());
    WaitForProgramsStartedBy(again.Id());
    EXPECT_TRUE(ReadStubStarts().empty()) << "No must not start the game";
}

TEST(InitDialog, YesStartsTheGameQuotedWithoutMediumOrDialog) {
    // No disc in any drive: the question needs none, and Yes ends setup
    // before the medium is looked for. The installation has no language
    // files, so the question comes in fixed English.
    for (const char* drive = kCdDrives; *drive; ++drive)
        EjectDisc(*drive);
    const std::string folder = "C:\\Program Files\\The Vellmor";
    RecordInstallation(folder);
    // An unquoted start of "C:\Program Files\..." would run this one.
    CopyOneFile(StubExe(), "C:\\Program.exe");
    Session setup(StartIn("C:\\Elsewhere"));
    MessageBoxInfo question = setup.NextBox();
    EXPECT_EQ(kFixedQuestion, question.text);
    EXPECT_EQ(kFixedQuestionCaption, question.caption);
    EXPECT_EQ((std::vector<std::string>{"Yes", "No"}), question.buttons);
    HWND dialog = question.owner;
    ASSERT_TRUE(dialog && GetDlgItem(dialog, IDC_LANGUAGE)) << "not owned by the setup dialog";
    EXPECT_FALSE(IsVisible(dialog));

    PostClick(question.window, IDYES);
    EXPECT_FALSE(ShownBeforeExit(setup.Program(), dialog)) << "the setup dialog was shown";
    EXPECT_EQ(0u, setup.WaitForEnd()) << "a medium message would have ended it with -1";

    // Once what setup started has ended, its starts are all in the log.
    WaitForProgramsStartedBy(setup.Id());
    std::vector<StubStart> starts = ReadStubStarts();
    ASSERT_EQ(1u, starts.size());
    EXPECT_STRCASEEQ("C:\\Program Files\\The Vellmor\\Vellmor.exe", starts[0].program.c_str());
    EXPECT_STRCASEEQ(folder.c_str(), starts[0].currentDirectory.c_str());
}

TEST(InitDialog, InstallPathFieldFollowsTheRecordedFolder) {
    // No key: the default root.
    InsertDisc('D', Medium::Product());
    ASSERT_FALSE(HklmKeyExists(kRegistryKey));
    EXPECT_EQ(kDefaultRoot, FieldOfPlainStart());
    // The key with other values only: the same.
    WriteHklmString(kRegistryKey, "Path", "C:\\Spiele\\The Vellmor");
    EXPECT_EQ(kDefaultRoot, FieldOfPlainStart());

    // A recorded folder without the game: no question, the folder without
    // its product part. Installed texts alone do not make an installation.
    const std::string folder = "C:\\Spiele\\The Vellmor";
    MakeFolders(folder);
    WriteInstalledLanguage(folder, {{TXT_RUN_INSTALLED, "?"}, {TXT_RUN_INSTALLED_CAPTION, "?"}});
    WriteHklmString(kRegistryKey, kInstallPath, folder);
    EXPECT_EQ("C:\\Spiele", FieldOfPlainStart());

    // Only the last folder goes, and only in exactly that spelling.
    WriteHklmString(kRegistryKey, kInstallPath, "C:\\The Vellmor\\Old\\The Vellmor");
    EXPECT_EQ("C:\\The Vellmor\\Old", FieldOfPlainStart());
    WriteHklmString(kRegistryKey, kInstallPath, "C:\\Spiele\\the vellmor");
    EXPECT_EQ("C:\\Spiele\\the vellmor", FieldOfPlainStart());

    // A value exactly filling 260 bytes with its NUL is still a folder.
    std::string longest = "C:\\" + std::string(256, 'a');
    ASSERT_EQ(259u, longest.size());
    WriteHklmString(kRegistryKey, kInstallPath, longest);
    EXPECT_EQ(longest, FieldOfPlainStart());
    EXPECT_TRUE(ReadStubStarts().empty());
}

TEST(InitDialog, UnusableInstallPathValuesCountAsAbsent) {
    // Each value below names, one way or another, a folder that holds the
    // game: read as a folder it would bring the question.
    InsertDisc('D', Medium::Product());
    const std::string folder = "C:\\Games\\The Vellmor";
    RecordInstallation(folder);
    const std::string withNul = folder + std::string(1, '\0');
    std::string oversized = withNul + std::string(1000 - withNul.size(), 'x');
    std::string oneTooLong = "C:\\" + std::string(257, 'a') + std::string(1, '\0');
    std::string unterminated = "C:\\" + std::string(257, 'a');
    const DWORD number = 0x12345678;

    struct Case {
        const char* what;
        DWORD type;
        std::string data;
    } cases[] = {
        {"REG_SZ of 1,000 bytes", REG_SZ, oversized},
        {"REG_SZ of 261 bytes", REG_SZ, oneTooLong},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, withNul},
        {"REG_MULTI_SZ", REG_MULTI_SZ, withNul + std::string(1, '\0')},
        {"REG_BINARY", REG_BINARY, withNul},
        {"REG_DWORD", REG_DWORD, std::string(reinterpret_cast<const char*>(&number), 4)},
        {"empty REG_SZ", REG_SZ, ""},
        {"REG_SZ holding only its NUL", REG_SZ, std::string(1, '\0')},
    };
    ASSERT_EQ(261u, oneTooLong.size());
    for (const Case& value : cases) {
        SCOPED_TRACE(value.what);
        WriteHklmValue(kRegistryKey, kInstallPath, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
        EXPECT_EQ(kDefaultRoot, FieldOfPlainStart());
    }

    // Strings without their NUL: the installed folder itself, and one that
    // fills the whole 260-byte buffer.
    ASSERT_EQ(260u, unterminated.size());
    for (const std::string& text : {folder, unterminated}) {
        SCOPED_TRACE("REG_SZ of " + std::to_string(text.size()) + " bytes without a NUL");
        WriteUnterminatedString(kRegistryKey, kInstallPath, text);
        EXPECT_EQ(kDefaultRoot, FieldOfPlainStart());
    }
    EXPECT_TRUE(ReadStubStarts().empty());
}

TEST(InitDialog, LanguagesListedSortedWithEnglishChosen) {
    // Extra names before and after "english" move its position while the
    // list is filled.
    InsertDisc('F', Medium::Product()
                        .WithoutLanguages()
                        .WithLanguage("Italiano", {{TXT_DIALOG_TITLE, "Installazione"}})
                        .WithLanguage("english", TableFor(kEnglish))
                        .WithLanguage("Deutsch", TableFor(kGerman))
                        .WithFile("Languages\\Readme.txt", "not a language"));
    Session setup(StartIn("C:\\Start"));
    HWND dialog = setup.WaitForDialog();
    HWND combo = GetDlgItem(dialog, IDC_LANGUAGE);
    EXPECT_EQ((std::vector<std::string>{"Deutsch", "english", "Italiano"}), ComboItems(combo));
    EXPECT_EQ(1, ComboSelection(combo));
    EXPECT_EQ(kEnglish, ReadDialogTexts(dialog));
    // The medium was the current folder only while the list was filled.
    EXPECT_EQ("C:\\Start", CurrentFolderOf(setup.Program().Handle()));
    EXPECT_EQ(0u, setup.Exit());
}

TEST(InitDialog, WithoutPoolFilesTheListHoldsEnglishAloneAndInstallCompletes) {
    // Pool files, none of them English: the first is chosen and applied.
    InsertDisc('E', Medium::Product()
                        .WithoutLanguages()
                        .WithLanguage("Italiano", {{TXT_DIALOG_TITLE, "Installazione"}})
                        .WithLanguage("Deutsch", TableFor(kGerman)));
    {
        Session setup;
        HWND dialog = setup.WaitForDialog();
        HWND combo = GetDlgItem(dialog, IDC_LANGUAGE);
        EXPECT_EQ((std::vector<std::string>{"Deutsch", "Italiano"}), ComboItems(combo));
        EXPECT_EQ(0, ComboSelection(combo));
        EXPECT_EQ(kGerman, ReadDialogTexts(dialog));
        EXPECT_EQ(0u, setup.Exit());
    }

    // No Languages folder; then a Languages folder whose only "*.poo" is a
    // folder: neither offers a language, and the second installs without
    // language files, with the completion message in fixed English.
    Medium noFolder = Medium::Product().WithoutLanguages();
    Medium onlyFolders = Medium::Product()
                             .WithoutLanguages()
                             .WithFile("Languages\\Klingon.poo\\Klingon.txt", "")
                             .WithFile("Languages\\Deutsch.sif", "");
    for (const Medium* medium : {&noFolder, &onlyFolders}) {
        SCOPED_TRACE(medium == &noFolder ? "no Languages folder" : "only folders named *.poo");
        InsertDisc('E', *medium);
        Session setup;
        HWND dialog = setup.WaitForDialog();
        HWND combo = GetDlgItem(dialog, IDC_LANGUAGE);
        EXPECT_EQ(std::vector<std::string>{"English"}, ComboItems(combo));
        EXPECT_EQ(0, ComboSelection(combo));
        // No table: the template's texts stay.
        EXPECT_EQ(kTemplate, ReadDialogTexts(dialog));
        if (medium == &noFolder) {
            EXPECT_EQ(0u, setup.Exit());
            continue;
        }
        setup.SetField("C:\\Games");
        // Without a table, the completion message's own fallback texts.
        setup.Finish(setup.Install(),
                     {"The Vellmor has been installed.", "Installation Complete", false});
    }
    EXPECT_EQ(1u, WaitForStubStarts(1).size()) << "the installation's Setup.exe";
    EXPECT_EQ("C:\\Games\\The Vellmor", ReadHklmValue(kRegistryKey, kInstallPath).AsString());
    EXPECT_FALSE(FileExists("C:\\Games\\The Vellmor\\language.sif"));
}

// A dialog template whose one control has a window class that nobody
// registered, as the version-6 controls are on Windows XP until a program
// initialises the common controls.
std::vector<WORD> TemplateWithUnknownControl() {
    std::vector<WORD> t;
    auto dword = [&t](DWORD value) {
        t.push_back(LOWORD(value));
        t.push_back(HIWORD(value));
    };
    auto text = [&t](const wchar_t* value) {
        for (; *value; ++value)
            t.push_back(*value);
        t.push_back(0);
    };
    dword(WS_POPUP | WS_CAPTION);
    dword(0);
    t.insert(t.end(), {1, 0, 0, 100, 50, 0, 0}); // one item, rectangle, no menu, dialog class
    text(L"The Vellmor Setup");
    if (t.size() % 2)
        t.push_back(0); // items start on a DWORD boundary
    dword(WS_CHILD | WS_VISIBLE);
    dword(0);
    t.insert(t.end(), {0, 0, 50, 14, IDOK});
    text(L"NoSuchControlClass");
    t.insert(t.end(), {0, 0}); // no text, no creation data
    return t;
}

// A Setup.exe whose dialog cannot be created says so, and ends with a
// failure status instead of ending without a word.
TEST(InitDialog, DialogThatCannotBeCreatedIsReported) {
    InsertDisc('D', Medium::Product());
    const std::string copy = "C:\\Setup.exe";
    CopyOneFile(SetupExe(), copy);
    std::vector<WORD> dialog = TemplateWithUnknownControl();
    HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
    ASSERT_NE(nullptr, update);
    ASSERT_TRUE(UpdateResourceA(update, RT_DIALOG, MAKEINTRESOURCEA(IDD_SETUP_DIALOG),
                                MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), dialog.data(),
                                (DWORD)(dialog.size() * sizeof(WORD))));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));

    Session setup({}, copy);
    MessageBoxInfo box = setup.NextBox();
    // The number is the system's: Wine gives none (0) for this cause.
    EXPECT_TRUE(std::regex_match(box.text,
                                 std::regex(R"(Setup could not open its window \(error \d+\)\.)")))
        << Describe(box);
    EXPECT_EQ("Setup", box.caption);
    EXPECT_TRUE(box.icon);
    setup.Answer(box, "OK");
    EXPECT_EQ(1u, setup.WaitForEnd());
}

TEST(InitDialog, ChangingTheLanguageRelabelsAtOnce) {
    // "Knapp" ends at the title (659 records); "Kurz" has 788 records, so it
    // lacks the language label, and holds empty texts: an explicit one for
    // the "install to" label and gaps for Browse and Exit. "Fehlt" has a
    // pool but no index. The last has the longest name a file can have.
    const std::string longest(251, 'Z');
    InsertDisc('D', Medium::Product()
                        .WithLanguage("Deutsch", TableFor(kGerman))
                        .WithLanguage("Knapp", {{TXT_DIALOG_TITLE, "Knapp"}})
                        .WithLanguage("Kurz", {{TXT_DIALOG_TITLE, "Kurz"},
                                               {TXT_INSTALL_TO, ""},
                                               {TXT_INSTALL, "Los"},
                                               {TXT_BROWSE_CAPTION, "Ordner"}})
                        .WithFile("Languages\\Fehlt.poo", "Fehlt")
                        .WithLanguage(longest, TableFor(kTemplate)));
    Session setup;
    HWND dialog = setup.WaitForDialog();
    HWND combo = GetDlgItem(dialog, IDC_LANGUAGE);
    ASSERT_EQ((std::vector<std::string>{"Deutsch", "English", "Fehlt", "Knapp", "Kurz", longest}),
              ComboItems(combo));
    EXPECT_EQ(kEnglish, ReadDialogTexts(dialog));

    setup.ChooseLanguage("Deutsch");
    EXPECT_EQ(kGerman, ReadDialogTexts(dialog));

    setup.ChooseLanguage("Knapp");
    DialogTexts expected = kGerman;
    expected[0] = "Knapp";
    EXPECT_EQ(expected, ReadDialogTexts(dialog));

    setup.ChooseLanguage("Fehlt");
    EXPECT_EQ(expected, ReadDialogTexts(dialog)) << "a table without index changes nothing";

    setup.ChooseLanguage("Kurz");
    EXPECT_EQ((DialogTexts{"Kurz", "", "Sprache:", "", "Los", ""}), ReadDialogTexts(dialog));

    setup.ChooseLanguage("English");
    EXPECT_EQ(kEnglish, ReadDialogTexts(dialog));
    EXPECT_EQ(1, ComboSelection(combo));

    // Its table's path does not fit a path buffer: nothing changes on the
    // dialog, no text of the previous language answers for it (the folder
    // picker's caption), and the dialog goes on answering.
    setup.ChooseLanguage(longest);
    EXPECT_EQ(kEnglish, ReadDialogTexts(dialog));
    setup.Press(IDC_BROWSE);
    MessageBoxInfo picker = setup.NextBox();
    EXPECT_EQ("", picker.caption);
    setup.Answer(picker, "Cancel");
    setup.ChooseLanguage("Deutsch");
    EXPECT_EQ(kGerman, ReadDialogTexts(dialog));
    EXPECT_EQ(0u, setup.Exit());
}

TEST(InitDialog, MediumTakenOutBeforeALanguageChangeEndsSetup) {
    InsertDisc('E', Medium::Product().WithLanguage("Deutsch", TableFor(kGerman)));
    Session setup;
    HWND dialog = setup.WaitForDialog();
    EjectDisc('E');

    setup.PostLanguageChoice("Deutsch");
    MessageBoxInfo box = setup.NextBox();
    EXPECT_EQ(kNoMediumText, box.text);
    EXPECT_EQ(kNoMediumCaption, box.caption);
    EXPECT_EQ(dialog, box.owner);
    EXPECT_EQ(kEnglish, ReadDialogTexts(dialog)) << "no text of the missing disc applied";
    // The box answers from its own loop: setup waits in it for the user.
    Settle(box.window);
    EXPECT_TRUE(setup.Program().IsRunning()) << "ended before the message was answered";
    setup.Answer(box, "OK");
    EXPECT_EQ(0xFFFFFFFFu, setup.WaitForEnd());
}

namespace {

// A language table's files exactly as given: index records of {offset,
// length} for indexes 0 up, with `trailing` stray bytes after them.
struct RawTable {
    std::vector<std::pair<uint32_t, uint32_t>> records;
    std::string pool;
    size_t trailing = 0;

    // Every index reads as missing (its bytes lie past the pool) unless set.
    RawTable() : records(TXT_LANGUAGE_SELECTION + 1, {0x7FFFFFF0u, 1u}) {}

    std::string Index() const {
        std::string bytes;
        for (const auto& record : records) {
            for (uint32_t field : {record.first, record.second}) {
                for (int shift = 0; shift < 32; shift += 8)
                    bytes += static_cast<char>((field >> shift) & 0xFF);
            }
        }
        return bytes + std::string(trailing, '\x5A');
    }
};

} // namespace

TEST(InitDialog, DamagedLanguageFilesShowOnlyTheirSoundTexts) {
    // Installed language files whose records point past the pool or at bytes
    // without a NUL: the question comes in fixed English.
    const std::string folder = "C:\\Games\\The Vellmor";
    RecordInstallation(folder);
    RawTable installed;
    installed.pool = "kein Ende";
    installed.records[TXT_RUN_INSTALLED] = {0, 9};
    installed.records[TXT_RUN_INSTALLED_CAPTION] = {4, 0xFFFFFF00u};
    WriteWholeFile(JoinPath(folder, "language.sif"), installed.Index());
    WriteWholeFile(JoinPath(folder, "language.poo"), installed.pool);

    // On the disc: a table of broken records with a few sound ones, one
    // shorter than a single record, and one with a 100,000-character title.
    RawTable broken;
    broken.pool = std::string("Los!\0", 5) + "ohneNUL";
    broken.trailing = 5;
    broken.records[TXT_DIALOG_TITLE] = {1000, 5};    // past the pool
    broken.records[TXT_INSTALL_TO] = {0, 0};         // no bytes at all
    broken.records[TXT_LANGUAGE_SELECTION] = {5, 7}; // no NUL
    broken.records[TXT_BROWSE] = {0x80000000u, 5};   // offset too large
    broken.records[TXT_EXIT] = {0, 0xFFFFFFF0u};     // length too large
    broken.records[TXT_INSTALL] = {0, 5};            // sound: "Los!"
    const std::string huge(100000, 'W');
    InsertDisc('D', Medium::Product()
                        .WithFile("Languages\\Kaputt.sif", broken.Index())
                        .WithFile("Languages\\Kaputt.poo", broken.pool)
                        .WithFile("Languages\\Halb.sif", "\x01\x02\x03")
                        .WithFile("Languages\\Halb.poo", std::string("Halb\0", 5))
                        .WithLanguage("Riesig", {{TXT_DIALOG_TITLE, huge}, {TXT_EXIT, "Raus"}}));

    Session setup;
    MessageBoxInfo question = setup.NextBox();
    EXPECT_EQ(kFixedQuestion, question.text);
    EXPECT_EQ(kFixedQuestionCaption, question.caption);
    setup.Answer(question, "No");
    HWND dialog = setup.WaitForDialog();
    ASSERT_EQ(kEnglish, ReadDialogTexts(dialog));

    setup.ChooseLanguage("Kaputt");
    EXPECT_EQ(
        (DialogTexts{"The Vellmor Setup", "Install to:", "Language:", "Browse...", "Los!", "Exit"}),
        ReadDialogTexts(dialog));

    setup.ChooseLanguage("Halb");
    EXPECT_EQ(
        (DialogTexts{"The Vellmor Setup", "Install to:", "Language:", "Browse...", "Los!", "Exit"}),
        ReadDialogTexts(dialog))
        << "a table without a whole record changes nothing";

    setup.ChooseLanguage("Riesig");
    EXPECT_EQ(huge.size(), WindowText(dialog).size());
    EXPECT_EQ("Raus", ControlText(dialog, IDCANCEL));
    EXPECT_EQ(0u, setup.Exit());
}
