// The Browse button of the running Setup.exe: the shell's folder picker,
// its caption and title line in the dialog's language, and what it puts
// into the install-path field. The picker is the real one of the prefix,
// driven from this process.

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "E2e.h"
#include "res/resource.h"
#include "text/TextCatalogue.h"

using namespace e2e;

namespace {

// Controls of the shell's picker window (the same identifiers as on
// Windows): the folder tree and the title line above it.
const int kPickerTree = 0x3741;
const int kPickerTitle = 0x3742;

// Shell places that are no file-system folders.
const char kMyComputer[] = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
const char kRecycleBin[] = "::{645FF040-5081-101B-9F08-00AA002F954E}";

// Texts that no default of the shell or of the dialog template could
// produce by accident.
const char kEnglishTitle[] = "Vellmor Setup in English";
const char kEnglishCaption[] = "Pick a folder, English";
const char kEnglishPickerTitle[] = "Where shall the game go? (English)";
const char kGermanTitle[] = "Vellmor Einrichtung";
const char kGermanCaption[] = "Ordner w\xE4hlen";
const char kGermanPickerTitle[] = "Wohin soll das Spiel? (Deutsch)";

Texts FullTexts(const char* title, const char* caption, const char* pickerTitle) {
    return {
        {TXT_DIALOG_TITLE, title},
        {TXT_INSTALL_TO, "Install to:"},
        {TXT_BROWSE, "Browse..."},
        {TXT_INSTALL, "Install"},
        {TXT_EXIT, "Exit"},
        {TXT_BROWSE_TITLE, pickerTitle},
        {TXT_BROWSE_CAPTION, caption},
        {TXT_LANGUAGE_SELECTION, "Language:"},
    };
}

Texts EnglishOnes() {
    return FullTexts(kEnglishTitle, kEnglishCaption, kEnglishPickerTitle);
}

// Setup and its dialog, opened on a disc in drive D:.
Session StartSetup(const Medium& medium) {
    InsertDisc('D', medium);
    Session setup;
    setup.WaitForDialog();
    return setup;
}

// Chooses a language as the user would; the dialog then shows `title`.
void ChooseLanguage(Session& setup, const std::string& language, const std::string& title) {
    setup.ChooseLanguage(language);
    ASSERT_EQ(title, WindowText(setup.Dialog()));
}

// Presses Browse and waits for the picker window: the dialog box with a
// folder tree.
HWND PressBrowse(Session& setup) {
    setup.Press(IDC_BROWSE);
    HWND picker = setup.NextBox().window;
    if (!GetDlgItem(picker, kPickerTree))
        throw std::runtime_error("the picker did not open");
    return picker;
}

// Selects `path` in the picker with the shell's own request; false when
// the request could not be made (the picker's answer is always 0, found or
// not). The text must live in the picker's process, so it is copied there
// first.
bool SelectInPicker(Session& setup, HWND picker, const std::string& path) {
    HANDLE process = setup.Program().Handle();
    void* remote =
        VirtualAllocEx(process, nullptr, path.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote)
        throw std::runtime_error("no memory in the setup process");
    SIZE_T written = 0;
    bool copied = WriteProcessMemory(process, remote, path.c_str(), path.size() + 1, &written) &&
                  written == path.size() + 1;
    if (copied)
        Send(picker, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote));
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return copied;
}

// Waits until the picker has gone and Browse's handler is done.
void WaitUntilPickerClosed(Session& setup, HWND picker) {
    if (!WaitForWindowGone(picker, kTimeoutMs))
        throw std::runtime_error("the picker did not close");
    Settle(setup.Dialog());
}

// Ends the picker with one of its buttons and waits until Browse is done.
void ClosePicker(Session& setup, HWND picker, int button) {
    ASSERT_TRUE(IsEnabled(GetDlgItem(picker, button))) << "the button cannot be pressed";
    PostClick(picker, button);
    WaitUntilPickerClosed(setup, picker);
}

// Presses Browse, then OK at once: the field receives the folder the
// picker selected when it opened.
std::string StartSelection(Session& setup) {
    ClosePicker(setup, PressBrowse(setup), IDOK);
    return setup.Field();
}

// Presses Browse, chooses `path` in the picker, ends it with `button` and
// gives the field's text afterwards.
std::string ChooseInPicker(Session& setup, const std::string& path, int button) {
    HWND picker = PressBrowse(setup);
    EXPECT_TRUE(SelectInPicker(setup, picker, path)) << path;
    ClosePicker(setup, picker, button);
    return setup.Field();
}

// What the picker shows, read while it is open; it is cancelled then.
struct PickerLook {
    std::string caption;
    std::string title;
    HWND owner = nullptr;
    bool ownerEnabled = true;
};

PickerLook LookAtPicker(Session& setup) {
    HWND picker = PressBrowse(setup);
    PickerLook look;
    look.caption = WindowText(picker);
    look.title = ControlText(picker, kPickerTitle);
    look.owner = GetWindow(picker, GW_OWNER);
    look.ownerEnabled = IsEnabled(setup.Dialog());
    ClosePicker(setup, picker, IDCANCEL);
    return look;
}

// Reads the folder's listing once. The picker matches the start folder by
// comparing item lists that carry each folder's last-access time; a freshly
// made folder gets a new access time when it is first listed (Linux
// relatime), which can happen between the shell parsing the path and
// filling the tree, and then the start folder is not found. Listed once
// beforehand, its access time stays put.
void ListOnce(const std::string& folder) {
    ForEachEntry(folder, [](const std::string&, bool) {});
}

// Makes a folder in the prefix, with its parents, and lists every one of
// them once (see ListOnce).
std::string MakeFolder(const std::string& path) {
    MakeFolders(path);
    if (!FolderExists(path))
        throw std::runtime_error("cannot make " + path);
    for (size_t slash = path.find('\\', 3); slash != std::string::npos;
         slash = path.find('\\', slash + 1))
        ListOnce(path.substr(0, slash));
    ListOnce(path);
    return path;
}

} // namespace

TEST(FolderBrowser, PickerSpeaksTheSelectedLanguageAndFollowsAChange) {
    Session setup = StartSetup(
        Medium::Product()
            .WithoutLanguages()
            .WithLanguage("English", EnglishOnes())
            .WithLanguage("Deutsch", FullTexts(kGermanTitle, kGermanCaption, kGermanPickerTitle)));
    ASSERT_EQ(kEnglishTitle, WindowText(setup.Dialog()));

    PickerLook look = LookAtPicker(setup);
    EXPECT_EQ(kEnglishCaption, look.caption);
    EXPECT_EQ(kEnglishPickerTitle, look.title);
    // Modal, owned by the setup dialog.
    EXPECT_EQ(setup.Dialog(), look.owner);
    EXPECT_FALSE(look.ownerEnabled);
    EXPECT_TRUE(IsEnabled(setup.Dialog()));

    ChooseLanguage(setup, "Deutsch", kGermanTitle);
    look = LookAtPicker(setup);
    EXPECT_EQ(kGermanCaption, look.caption);
    EXPECT_EQ(kGermanPickerTitle, look.title);

    ChooseLanguage(setup, "English", kEnglishTitle);
    look = LookAtPicker(setup);
    EXPECT_EQ(kEnglishCaption, look.caption);
    EXPECT_EQ(kEnglishPickerTitle, look.title);
}

TEST(FolderBrowser, LanguageWithoutThePickerTextsGivesNoCaptionAndNoTitle) {
    // "Kurz" ends before text 665, so neither 665 nor 787 is in it.
    const char kShortTitle[] = "Vellmor kurz";
    Texts shortTable = {
        {TXT_DIALOG_TITLE, kShortTitle},
        {TXT_BROWSE, "Suchen..."},
        {TXT_EXIT, "Ende"},
    };
    Session setup = StartSetup(Medium::Product()
                                   .WithoutLanguages()
                                   .WithLanguage("English", EnglishOnes())
                                   .WithLanguage("Kurz", shortTable));

    // A picker with texts first, so that nothing of them may linger.
    ASSERT_EQ(kEnglishCaption, LookAtPicker(setup).caption);

    ChooseLanguage(setup, "Kurz", kShortTitle);
    PickerLook look = LookAtPicker(setup);
    EXPECT_EQ("", look.caption);
    EXPECT_EQ("", look.title);
}

TEST(FolderBrowser, LongCaptionIsCutTo127CharactersAndTheTitleLineIsNot) {
    std::string caption;
    for (int i = 0; caption.size() < 200; ++i)
        caption += "Caption" + std::to_string(i) + " ";
    std::string title(300, 'T');
    title.replace(0, 6, "Title:");
    title.back() = '!';
    Texts texts = EnglishOnes();
    for (auto& text : texts) {
        if (text.first == TXT_BROWSE_CAPTION)
            text.second = caption;
        if (text.first == TXT_BROWSE_TITLE)
            text.second = title;
    }
    Session setup = StartSetup(Medium::Product().WithoutLanguages().WithLanguage("English", texts));

    PickerLook look = LookAtPicker(setup);
    EXPECT_EQ(caption.substr(0, 127), look.caption);
    EXPECT_EQ(title, look.title);
    // The dialog goes on working after the cut, and cuts the same again.
    EXPECT_EQ(caption.substr(0, 127), LookAtPicker(setup).caption);
}

TEST(FolderBrowser, OkPutsTheSelectedFolderIntoTheField) {
    std::string start = MakeFolder("C:\\Games\\Start Here");
    std::string other = MakeFolder("C:\\Games\\Somewhere Else");
    Session setup = StartSetup(Medium::Product());

    // The picker opens on the typed folder: OK at once gives it back.
    setup.SetField(start);
    EXPECT_EQ(start, StartSelection(setup));

    // Another folder chosen in the picker replaces the whole text.
    EXPECT_EQ(other, ChooseInPicker(setup, other, IDOK));

    // A fresh press starts from the field's new text.
    EXPECT_EQ(other, StartSelection(setup));
}

TEST(FolderBrowser, CancellingLeavesTheFieldExactlyAsTyped) {
    std::string start = MakeFolder("C:\\Games\\Start Here");
    std::string other = MakeFolder("C:\\Games\\Somewhere Else");
    Session setup = StartSetup(Medium::Product());

    // An existing folder: selected on opening, another chosen, then Cancel.
    setup.SetField(start);
    EXPECT_EQ(start, ChooseInPicker(setup, other, IDCANCEL));

    // A text that names no folder, with spaces and a trailing backslash.
    const std::string typed = "  c:\\games\\not there yet\\ ";
    setup.SetField(typed);
    LookAtPicker(setup);
    EXPECT_EQ(typed, setup.Field());

    // Closing the picker's window is a cancel too.
    HWND picker = PressBrowse(setup);
    PostMessageA(picker, WM_CLOSE, 0, 0);
    WaitUntilPickerClosed(setup, picker);
    EXPECT_EQ(typed, setup.Field());

    // An empty field stays empty.
    setup.SetField("");
    LookAtPicker(setup);
    EXPECT_EQ("", setup.Field());
}
TEST(FolderBrowser, OnlyFileSystemFoldersCanBeChosen) {
    std::string start = MakeFolder("C:\\Games\\Start Here");
    std::string other = MakeFolder("C:\\Games\\Somewhere Else");
    Session setup = StartSetup(Medium::Product());
    setup.SetField(start);

    HWND picker = PressBrowse(setup);
    HWND ok = GetDlgItem(picker, IDOK);
    EXPECT_TRUE(IsEnabled(ok)) << start;
    ASSERT_TRUE(SelectInPicker(setup, picker, kRecycleBin));
    EXPECT_FALSE(IsEnabled(ok)) << "Recycle Bin";
    ASSERT_TRUE(SelectInPicker(setup, picker, other));
    EXPECT_TRUE(IsEnabled(ok)) << other;
    ASSERT_TRUE(SelectInPicker(setup, picker, kMyComputer));
    EXPECT_FALSE(IsEnabled(ok)) << "My Computer";

    // Should the picker still end with such an item (its OK button is
    // disabled, so the command is sent directly), the item has no path and
    // the field keeps its text.
    PostClick(picker, IDOK);
    WaitUntilPickerClosed(setup, picker);
    EXPECT_EQ(start, setup.Field());
    // And Browse goes on working.
    EXPECT_EQ(start, StartSelection(setup));
}

TEST(FolderBrowser, PercentSignsReachThePickerVerbatim) {
    // Formatted as text, either would change or break: "%%" would become
    // "%", "%s" and "%d" would take arguments that are not there.
    std::string doubled = MakeFolder("C:\\100%%s%d");
    std::string single = MakeFolder("C:\\a%sb%d");
    Session setup = StartSetup(Medium::Product());

    setup.SetField(doubled);
    EXPECT_EQ(doubled, StartSelection(setup));

    setup.SetField(single);
    EXPECT_EQ(single, StartSelection(setup));
    EXPECT_TRUE(setup.Program().IsRunning());
}

TEST(FolderBrowser, LongTextIsCutTo259ForTheStartWhileTheFieldKeepsIt) {
    // A folder whose path is exactly 259 characters long, made of parts
    // that fit any file system.
    std::string folder = "C:\\Long";
    for (int part = 0; folder.size() < 259; ++part) {
        std::string name = "part" + std::to_string(part) + std::string(40, 'x');
        folder += "\\" + name.substr(0, std::min<size_t>(name.size(), 258 - folder.size()));
    }
    ASSERT_EQ(259u, folder.size());
    ASSERT_NE('\\', folder.back());
    MakeFolder(folder);
    // Its first 258 and 260 characters name no folder; the whole text
    // continues the last part's name, so it names none either.
    std::string typed = folder + std::string(41, 'y');
    ASSERT_EQ(300u, typed.size());
    ASSERT_FALSE(FolderExists(folder.substr(0, 258)));
    std::string other = MakeFolder("C:\\Games\\Somewhere Else");
    Session setup = StartSetup(Medium::Product());

    // Cancel: the field keeps all 300 characters.
    setup.SetField(typed);
    LookAtPicker(setup);
    EXPECT_EQ(typed, setup.Field());

    // OK at once: the picker had opened on the first 259 characters.
    EXPECT_EQ(folder, StartSelection(setup));

    // A shorter text next: nothing of the longer one is left in the way.
    setup.SetField(other);
    EXPECT_EQ(other, StartSelection(setup));
}
