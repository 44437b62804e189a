// Opening the setup dialog and changing its language, seen from outside:
// the real Setup.exe on the test prefix, with the registry, the drives and
// the language files prepared before it starts.

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "E2e.h"
#include "res/resource.h"
#include "text/LanguageTable.h"
#include "text/TextCatalogue.h"

using namespace e2e;

namespace {

const char kRegistryKey[] = "Software\\Brightfen\\The Vellmor";
const char kInstallPath[] = "InstallPath";
const char kDefaultRoot[] = "C:\\Program Files";
// The question about an installation whose own texts lack it: the
// catalogue's English.
const char* const kFixedQuestion = EnglishOf(TXT_RUN_INSTALLED);
const char* const kFixedQuestionCaption = EnglishOf(TXT_RUN_INSTALLED_CAPTION);

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

// An earlier installation: the stub as the game in `folder`, recorded in
// the registry.
void RecordInstallation(const std::string& folder, Where where = Where::Here()) {
    MakeFolders(folder, where);
    CopyOneFile(StubExe(), JoinPath(folder, "Vellmor.exe"), where);
    WriteHklmString(kRegistryKey, kInstallPath, folder, true, where);
}

// The install-path field of a Setup run that is expected to open its dialog
// without asking anything; Setup is closed again.
std::string FieldOfPlainStart(Where where = Where::Here()) {
    const auto trace = where.Trace();
    Session setup({}, "", where);
    setup.WaitForDialog(where);
    std::string field = setup.Field(where);
    EXPECT_EQ(0u, setup.Exit(where));
    WaitForProgramsStartedBy(setup.Id(), where);
    return field;
}

// Whether `window` became visible before process `setup` ended. No event
// tells another process that a window was shown (Wine gives no window
// events across processes), so it looks every millisecond, leaving the cores
// to setup in between.
bool ShownBeforeExit(const Process& setup, HWND window, Where where = Where::Here()) {
    DWORD start = GetTickCount();
    while (WaitForSingleObject(setup.Handle(), 1) == WAIT_TIMEOUT) {
        if (IsWindowVisible(window))
            return true;
        Require(GetTickCount() - start < kTimeoutMs, where, "setup did not end");
    }
    return false;
}

// Checks that `question` asks `text` under `caption` with Yes and No and no
// icon (MB_YESNO), owned by the setup dialog, which is not shown while the
// question is open.
void ExpectQuestion(const MessageBoxInfo& question, const std::string& text,
                    const std::string& caption, Where where = Where::Here()) {
    const auto trace = where.Trace();
    EXPECT_EQ(Appearance({text.c_str(), caption.c_str(), MB_YESNO}), Appearance(question));
    Require(question.owner && GetDlgItem(question.owner, IDC_LANGUAGE), where,
            "not owned by the setup dialog");
    EXPECT_FALSE(IsVisible(question.owner));
}

} // namespace

TEST(InitDialog, RecordedInstallationAsksWithItsOwnTextsAndNoKeepsTheRoot) {
    InsertDisc('E', Medium::Product());
    const std::string folder = "C:\\Games\\The Vellmor";
    RecordInstallation(folder);
    WriteLanguage(JoinPath(folder, "language"),
                  {{TXT_RUN_INSTALLED, "Schon installiert. Jetzt spielen?"},
                   {TXT_RUN_INSTALLED_CAPTION, "Vellmor gefunden"}});

    Session setup;
    MessageBoxInfo question = setup.NextBox();
    ExpectQuestion(question, "Schon installiert. Jetzt spielen?", "Vellmor gefunden");
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
    ExpectQuestion(question, "Schon installiert. Jetzt spielen?", "Vellmor gefunden");
    again.Answer(question, "No");
    MessageBoxInfo missing = again.NextBox();
    EXPECT_EQ(Appearance(kNoMedium), Appearance(missing));
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
    ExpectQuestion(question, kFixedQuestion, kFixedQuestionCaption);
    ASSERT_TRUE(question.owner);

    PostClick(question.window, IDYES);
    EXPECT_FALSE(ShownBeforeExit(setup.Program(), question.owner)) << "the setup dialog was shown";
    EXPECT_EQ(0u, setup.WaitForEnd()) << "a medium message would have ended it with -1";

    // Once what setup and the game's starter started has ended, every start
    // is in the log.
    WaitForProgramsStartedBy(setup.Id());
    std::vector<StubStart> starts = WaitForStubStarts(1);
    WaitForProgramsStartedBy(starts[0].parentId);
    starts = ReadStubStarts();
    ASSERT_EQ(1u, starts.size());
    EXPECT_STRCASEEQ("C:\\Program Files\\The Vellmor\\Vellmor.exe", starts[0].program.c_str());
    EXPECT_STRCASEEQ(folder.c_str(), starts[0].currentDirectory.c_str());
    EXPECT_EQ("\"" + folder + "\\Vellmor.exe\"", starts[0].commandLine);
    EXPECT_STARTED_AS_PLAYER(starts[0], setup.Id());
}

TEST(InitDialog, InstallPathFieldFollowsOnlyAUsableRecordedFolder) {
    // No key: the default root. The key with other values only: the same.
    InsertDisc('D', Medium::Product());
    ASSERT_FALSE(HklmKeyExists(kRegistryKey));
    EXPECT_EQ(kDefaultRoot, FieldOfPlainStart());
    WriteHklmString(kRegistryKey, "Path", "C:\\Spiele\\The Vellmor");
    EXPECT_EQ(kDefaultRoot, FieldOfPlainStart());

    // A recorded folder without the game (installed texts alone do not make
    // an installation), and one with it: each unusable value below names it
    // one way or another, and read as a folder would bring the question.
    MakeFolders("C:\\Spiele\\The Vellmor");
    WriteLanguage("C:\\Spiele\\The Vellmor\\language",
                  {{TXT_RUN_INSTALLED, "?"}, {TXT_RUN_INSTALLED_CAPTION, "?"}});
    const std::string folder = "C:\\Games\\The Vellmor";
    RecordInstallation(folder);
    auto sz = [](const std::string& text) { return text + '\0'; };
    const std::string longest = "C:\\" + std::string(256, 'a');
    const std::string tooLong = "C:\\" + std::string(257, 'a');
    const DWORD number = 0x12345678;
    // Each value's exact bytes; `unterminated`: a REG_SZ of `data` without
    // the NUL that the system would add to it.
    struct Row {
        const char* what;
        DWORD type;
        std::string data;
        std::string field;
        bool unterminated = false;
    } rows[] = {
        // No question: the folder without its product part, only the last
        // one, and only in exactly that spelling.
        {"a folder without the game", REG_SZ, sz("C:\\Spiele\\The Vellmor"), "C:\\Spiele"},
        {"the product's name twice", REG_SZ, sz("C:\\The Vellmor\\Old\\The Vellmor"),
         "C:\\The Vellmor\\Old"},
        {"the product's name in other case", REG_SZ, sz("C:\\Spiele\\the vellmor"),
         "C:\\Spiele\\the vellmor"},
        {"REG_SZ filling 260 bytes with its NUL", REG_SZ, sz(longest), longest},
        // Unusable values count as absent.
        {"REG_SZ of 1,000 bytes", REG_SZ, sz(folder) + std::string(1000 - sz(folder).size(), 'x'),
         kDefaultRoot},
        {"REG_SZ of 261 bytes", REG_SZ, sz(tooLong), kDefaultRoot},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, sz(folder), kDefaultRoot},
        {"REG_MULTI_SZ", REG_MULTI_SZ, sz(sz(folder)), kDefaultRoot},
        {"REG_BINARY", REG_BINARY, sz(folder), kDefaultRoot},
        {"REG_DWORD", REG_DWORD, std::string(reinterpret_cast<const char*>(&number), 4),
         kDefaultRoot},
        {"empty REG_SZ", REG_SZ, "", kDefaultRoot},
        {"REG_SZ holding only its NUL", REG_SZ, sz(""), kDefaultRoot},
        {"the installed folder without a NUL", REG_SZ, folder, kDefaultRoot, true},
        {"REG_SZ of 260 bytes without a NUL", REG_SZ, tooLong, kDefaultRoot, true},
    };
    ASSERT_EQ(259u, longest.size());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.unterminated)
            WriteHklmString(kRegistryKey, kInstallPath, row.data, false);
        else
            WriteHklmValue(kRegistryKey, kInstallPath, row.type, row.data.data(),
                           static_cast<DWORD>(row.data.size()));
        EXPECT_EQ(row.field, FieldOfPlainStart());
    }
    EXPECT_TRUE(ReadStubStarts().empty());
}

TEST(InitDialog, LanguagesListedSortedWithEnglishOrElseTheFirstChosen) {
    // Extra names before and after "english" move its position while the
    // list is filled.
    Medium amongOthers = Medium::Product()
                             .WithoutLanguages()
                             .WithLanguage("Italiano", {{TXT_DIALOG_TITLE, "Installazione"}})
                             .WithLanguage("english", TableFor(kEnglish))
                             .WithLanguage("Deutsch", TableFor(kGerman))
                             .WithFile("Languages\\Readme.txt", "not a language");
    Medium noEnglish = Medium::Product()
                           .WithoutLanguages()
                           .WithLanguage("Italiano", {{TXT_DIALOG_TITLE, "Installazione"}})
                           .WithLanguage("Deutsch", TableFor(kGerman));
    Medium noFolder = Medium::Product().WithoutLanguages();
    Medium onlyFolders = Medium::Product()
                             .WithoutLanguages()
                             .WithFile("Languages\\Klingon.poo\\Klingon.txt", "")
                             .WithFile("Languages\\Deutsch.sif", "");
    struct Row {
        const char* what;
        char drive;
        const Medium& medium;
        std::vector<std::string> items;
        int selection;
        DialogTexts texts;
        std::string arguments = "";
        std::string field = "C:\\Program Files";
    } rows[] = {
        {"English among others", 'F', amongOthers, {"Deutsch", "english", "Italiano"}, 1, kEnglish},
        // The command line fills the dialog; a language the disc lacks is
        // left to the list.
        {"/DIR and /LANG",
         'F',
         amongOthers,
         {"Deutsch", "english", "Italiano"},
         0,
         kGerman,
         "/DIR=C:\\Spiele /LANG=deutsch",
         "C:\\Spiele"},
        {"/LANG the disc lacks",
         'F',
         amongOthers,
         {"Deutsch", "english", "Italiano"},
         1,
         kEnglish,
         "/LANG=Klingon"},
        {"no English: the first is applied", 'E', noEnglish, {"Deutsch", "Italiano"}, 0, kGerman},
        // No table: English alone, and the template's texts stay.
        {"no Languages folder", 'E', noFolder, {"English"}, 0, kTemplate},
        {"only folders named *.poo", 'E', onlyFolders, {"English"}, 0, kTemplate},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        InsertDisc(row.drive, row.medium);
        StartOptions options = StartIn("C:\\Start");
        options.arguments = row.arguments;
        Session setup(options);
        HWND dialog = setup.WaitForDialog();
        EXPECT_EQ(row.field, setup.Field());
        HWND combo = GetDlgItem(dialog, IDC_LANGUAGE);
        EXPECT_EQ(row.items, ComboItems(combo));
        EXPECT_EQ(row.selection, ComboSelection(combo));
        EXPECT_EQ(row.texts, ReadDialogTexts(dialog));
        // The medium was the current folder only while the list was filled.
        EXPECT_EQ("C:\\Start", CurrentFolderOf(setup.Program().Handle()));
        EXPECT_EQ(0u, setup.Exit());
        EjectDisc(row.drive);
    }

    // Without language files, the completion message in the catalogue's
    // English, and no language files installed.
    InsertDisc('E', onlyFolders);
    Session setup;
    setup.WaitForDialog();
    setup.SetField("C:\\Games");
    setup.Finish(setup.Install(),
                 {EnglishOf(TXT_INSTALL_DONE), EnglishOf(TXT_INSTALL_DONE_CAPTION), MB_OK});
    EXPECT_EQ(1u, WaitForStubStarts(1).size()) << "the installation's Setup.exe";
    EXPECT_EQ("C:\\Games\\The Vellmor", ReadHklmValue(kRegistryKey, kInstallPath).AsString());
    EXPECT_FALSE(FileExists("C:\\Games\\The Vellmor\\language.sif"));
}

// A dialog template whose one control has a window class that nobody
// registered, as the version-6 controls are on Windows XP until a program
// initialises the common controls: the dialog, without menu, class or
// title, then its one item (on a DWORD boundary) without text or data.
struct UnknownControlDialog {
    DLGTEMPLATE dialog = {WS_POPUP | WS_CAPTION, 0, 1, 0, 0, 100, 50};
    WORD menu = 0, windowClass = 0, title = 0;
    DLGITEMTEMPLATE item = {WS_CHILD | WS_VISIBLE, 0, 0, 0, 50, 14, IDOK};
    WCHAR itemClass[7] = L"NoSuch";
    WORD text = 0, data = 0;
};
static_assert(sizeof(UnknownControlDialog) == 60, "the template's parts lie without gaps");

// A Setup.exe whose dialog cannot be created says so, and ends with a
// failure status instead of ending without a word.
TEST(InitDialog, DialogThatCannotBeCreatedIsReported) {
    InsertDisc('D', Medium::Product());
    const std::string copy = "C:\\Setup.exe";
    CopyOneFile(SetupExe(), copy);
    UnknownControlDialog dialog;
    HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
    ASSERT_NE(nullptr, update);
    ASSERT_TRUE(UpdateResourceA(update, RT_DIALOG, MAKEINTRESOURCEA(IDD_SETUP_DIALOG),
                                MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), &dialog,
                                sizeof dialog));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));

    Session setup({}, copy);
    MessageBoxInfo box = setup.NextBox();
    // The number is the system's: Wine gives none (0) for this cause.
    EXPECT_TRUE(std::regex_match(box.text,
                                 std::regex(R"(Setup could not open its window \(error \d+\)\.)")))
        << Describe(box);
    EXPECT_EQ(Appearance({box.text.c_str(), "Setup", MB_ICONHAND}), Appearance(box));
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
    // Started without an error mode, setup sets its own, which lets empty
    // drives fail quietly (e2e_iconhook.dll leaves it on the dialog).
    const UINT quiet = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
    UINT inherited = SetErrorMode(0);
    Session setup;
    SetErrorMode(inherited);
    HWND dialog = setup.WaitForDialog();
    EXPECT_EQ(kErrorModeSet | quiet,
              reinterpret_cast<UINT_PTR>(GetPropA(dialog, kErrorModeProperty)) &
                  (kErrorModeSet | quiet));
    HWND combo = GetDlgItem(dialog, IDC_LANGUAGE);
    ASSERT_EQ((std::vector<std::string>{"Deutsch", "English", "Fehlt", "Knapp", "Kurz", longest}),
              ComboItems(combo));
    EXPECT_EQ(kEnglish, ReadDialogTexts(dialog));

    DialogTexts knapp = kGerman;
    knapp[0] = "Knapp";
    const std::pair<std::string, DialogTexts> choices[] = {
        {"Deutsch", kGerman},
        {"Knapp", knapp},
        {"Fehlt", knapp}, // a table without index changes nothing
        {"Kurz", {"Kurz", "", "Sprache:", "", "Los", ""}},
        {"English", kEnglish},
    };
    for (const auto& [language, texts] : choices) {
        SCOPED_TRACE(language);
        setup.ChooseLanguage(language);
        EXPECT_EQ(texts, ReadDialogTexts(dialog));
    }
    EXPECT_EQ(1, ComboSelection(combo));

    // Its table's path does not fit a path buffer: nothing changes on the
    // dialog, no text of the previous language answers for it (the folder
    // picker's caption is the English), and the dialog goes on answering.
    setup.ChooseLanguage("Kurz");
    const DialogTexts kurz = ReadDialogTexts(dialog);
    setup.ChooseLanguage(longest);
    EXPECT_EQ(kurz, ReadDialogTexts(dialog));
    setup.Press(IDC_BROWSE);
    MessageBoxInfo picker = setup.NextBox();
    EXPECT_EQ(EnglishOf(TXT_BROWSE_CAPTION), picker.caption);
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
    EXPECT_EQ(kEnglish, ReadDialogTexts(dialog)) << "no text of the missing disc applied";
    // The box answers from its own loop: setup waits in it for the user.
    Settle(box.window);
    EXPECT_TRUE(setup.Program().IsRunning()) << "ended before the message was answered";
    setup.ExpectMessage(box, kNoMedium);
    EXPECT_EQ(0xFFFFFFFFu, setup.WaitForEnd());
}

namespace {

// A language table's files exactly as given: index records of {offset,
// length} for indexes 0 up, with `trailing` stray bytes after them.
struct RawTable {
    std::vector<TextIndexEntry> records;
    std::string pool;
    size_t trailing = 0;

    // Every index reads as missing (its bytes lie past the pool) unless set.
    RawTable() : records(TXT_LANGUAGE_SELECTION + 1, {0x7FFFFFF0u, 1u}) {}

    // The records as the file holds them: little-endian, as this machine.
    std::string Index() const {
        return std::string(reinterpret_cast<const char*>(records.data()),
                           records.size() * sizeof(TextIndexEntry)) +
               std::string(trailing, '\x5A');
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
    ExpectQuestion(question, kFixedQuestion, kFixedQuestionCaption);
    setup.Answer(question, "No");
    HWND dialog = setup.WaitForDialog();
    ASSERT_EQ(kEnglish, ReadDialogTexts(dialog));

    DialogTexts sound = kEnglish;
    sound[4] = "Los!";
    setup.ChooseLanguage("Kaputt");
    EXPECT_EQ(sound, ReadDialogTexts(dialog));
    setup.ChooseLanguage("Halb");
    EXPECT_EQ(sound, ReadDialogTexts(dialog)) << "a table without a whole record changes nothing";

    setup.ChooseLanguage("Riesig");
    EXPECT_EQ(huge.size(), WindowText(dialog).size());
    EXPECT_EQ("Raus", ControlText(dialog, IDCANCEL));
    EXPECT_EQ(0u, setup.Exit());
}
