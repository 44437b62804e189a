// The Browse button of the running Setup.exe: the shell's folder picker,
// its caption and title line in the dialog's language, and what it puts
// into the install-path field. The picker is the real one of the prefix,
// driven from this process.

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
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

// Setup and its dialog, opened on a disc in drive D:.
Session StartSetup(const Medium& medium, Where where = Where::Here()) {
    InsertDisc('D', medium, where);
    Session setup({}, "", where);
    setup.WaitForDialog(where);
    return setup;
}

// Presses Browse and waits for the picker window: the dialog box with a
// folder tree.
HWND PressBrowse(Session& setup, Where where = Where::Here()) {
    setup.Press(IDC_BROWSE);
    HWND picker = setup.NextBox(where).window;
    Require(GetDlgItem(picker, kPickerTree), where, "the picker did not open");
    return picker;
}

// Selects `path` in the picker with the shell's own request; false when
// the request could not be made (the picker's answer is always 0, found or
// not). The text must live in the picker's process, so it is copied there
// first.
bool SelectInPicker(Session& setup, HWND picker, const std::string& path,
                    Where where = Where::Here()) {
    HANDLE process = setup.Program().Handle();
    void* remote =
        VirtualAllocEx(process, nullptr, path.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    Require(remote, where, "no memory in the setup process");
    SIZE_T written = 0;
    bool copied = WriteProcessMemory(process, remote, path.c_str(), path.size() + 1, &written) &&
                  written == path.size() + 1;
    if (copied)
        At(where,
           [&] { Send(picker, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote)); });
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return copied;
}

// Ends the picker with `button` (WM_CLOSE: its window's close box), pressed
// even when disabled, and waits until it has gone and Browse's handler is
// done.
void ClosePicker(Session& setup, HWND picker, int button, Where where = Where::Here()) {
    if (button == WM_CLOSE)
        PostMessageA(picker, WM_CLOSE, 0, 0);
    else
        PostClick(picker, button);
    Require(WaitForWindowGone(picker, kTimeoutMs), where, "the picker did not close");
    At(where, [&] { Settle(setup.Dialog()); });
}

// Presses Browse, chooses `path` in the picker unless it is empty, ends the
// picker with `button` and gives the field's text afterwards.
std::string Browse(Session& setup, int button, const std::string& path = "",
                   Where where = Where::Here()) {
    const auto trace = where.Trace();
    HWND picker = PressBrowse(setup, where);
    if (!path.empty()) {
        EXPECT_TRUE(SelectInPicker(setup, picker, path, where)) << path;
    }
    if (button != WM_CLOSE) {
        EXPECT_TRUE(IsEnabled(GetDlgItem(picker, button))) << "the button cannot be pressed";
    }
    ClosePicker(setup, picker, button, where);
    return setup.Field(where);
}

// Makes a folder in the prefix, with its parents, and reads the listing of
// each once. The picker matches the start folder by comparing item lists
// that carry each folder's last-access time; a freshly made folder gets a
// new access time when it is first listed (Linux relatime), which can happen
// between the shell parsing the path and filling the tree, and then the
// start folder is not found. Listed once beforehand, its access time stays.
std::string MakeFolder(const std::string& path, Where where = Where::Here()) {
    MakeFolders(path, where);
    for (size_t slash = path.find('\\', 3);; slash = path.find('\\', slash + 1)) {
        ForEachEntry(path.substr(0, slash), [](const std::string&, bool) {});
        if (slash == std::string::npos)
            return path;
    }
}

} // namespace

TEST(FolderBrowser, PickerSpeaksTheDialogsLanguage) {
    // Texts that no default of the shell or of the dialog template could
    // produce by accident. "Kurz" ends before text 665, so neither 665 nor
    // 787 is in it. "Lang" has a caption longer than the picker takes.
    std::string longCaption;
    for (int i = 0; longCaption.size() < 200; ++i)
        longCaption += "Caption" + std::to_string(i) + " ";
    const std::string longTitle = "Title:" + std::string(293, 'T') + "!";
    Session setup = StartSetup(
        Medium::Product()
            .WithoutLanguages()
            .WithLanguage("English", EnglishTexts({{TXT_DIALOG_TITLE, "Vellmor Setup in English"},
                                                   {TXT_BROWSE_CAPTION, "Pick a folder, English"},
                                                   {TXT_BROWSE_TITLE, "Where shall it go?"}}))
            .WithLanguage("Deutsch", EnglishTexts({{TXT_DIALOG_TITLE, "Vellmor Einrichtung"},
                                                   {TXT_BROWSE_CAPTION, "Ordner w\xE4hlen"},
                                                   {TXT_BROWSE_TITLE, "Wohin soll es?"}}))
            .WithLanguage(
                "Kurz",
                {{TXT_DIALOG_TITLE, "Vellmor kurz"}, {TXT_BROWSE, "Suchen..."}, {TXT_EXIT, "Ende"}})
            .WithLanguage("Lang", EnglishTexts({{TXT_DIALOG_TITLE, "Vellmor lang"},
                                                {TXT_BROWSE_CAPTION, longCaption},
                                                {TXT_BROWSE_TITLE, longTitle}})));
    struct Row {
        const char* language;
        const char* dialogTitle;
        std::string caption;
        std::string title;
    } rows[] = {
        {"English", "Vellmor Setup in English", "Pick a folder, English", "Where shall it go?"},
        {"Deutsch", "Vellmor Einrichtung", "Ordner w\xE4hlen", "Wohin soll es?"},
        {"English", "Vellmor Setup in English", "Pick a folder, English", "Where shall it go?"},
        // After a picker with texts, nothing of them may linger: a table
        // without them gives the catalogue's English.
        {"Kurz", "Vellmor kurz", EnglishOf(TXT_BROWSE_CAPTION), EnglishOf(TXT_BROWSE_TITLE)},
        // The caption is cut to 127 characters, the title line is not; the
        // dialog goes on working after the cut, and cuts the same again.
        {"Lang", "Vellmor lang", longCaption.substr(0, 127), longTitle},
        {"Lang", "Vellmor lang", longCaption.substr(0, 127), longTitle},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.language);
        setup.ChooseLanguage(row.language);
        ASSERT_EQ(row.dialogTitle, WindowText(setup.Dialog()));
        HWND picker = PressBrowse(setup);
        EXPECT_EQ(row.caption, WindowText(picker));
        EXPECT_EQ(row.title, ControlText(picker, kPickerTitle));
        // Modal, owned by the setup dialog.
        EXPECT_EQ(setup.Dialog(), GetWindow(picker, GW_OWNER));
        EXPECT_FALSE(IsEnabled(setup.Dialog()));
        ClosePicker(setup, picker, IDCANCEL);
        EXPECT_TRUE(IsEnabled(setup.Dialog()));
    }
}

TEST(FolderBrowser, PickerStartsFromTheFieldAndOnlyOkChangesIt) {
    std::string start = MakeFolder("C:\\Games\\Start Here");
    std::string other = MakeFolder("C:\\Games\\Somewhere Else");
    // Formatted as text, either would change or break: "%%" would become
    // "%", "%s" and "%d" would take arguments that are not there.
    std::string doubled = MakeFolder("C:\\100%%s%d");
    std::string single = MakeFolder("C:\\a%sb%d");
    // A folder whose path is exactly 259 characters long, made of parts
    // that fit any file system.
    std::string longest = "C:\\Long";
    for (int part = 0; longest.size() < 259; ++part) {
        std::string name = "part" + std::to_string(part) + std::string(40, 'x');
        longest += "\\" + name.substr(0, std::min<size_t>(name.size(), 258 - longest.size()));
    }
    ASSERT_EQ(259u, longest.size());
    ASSERT_NE('\\', longest.back());
    MakeFolder(longest);
    // Its first 258 and 260 characters name no folder; the whole text
    // continues the last part's name, so it names none either.
    std::string tooLong = longest + std::string(41, 'y');
    ASSERT_EQ(300u, tooLong.size());
    ASSERT_FALSE(FolderExists(longest.substr(0, 258)));
    const std::string nowhere = "  c:\\games\\not there yet\\ ";
    Session setup = StartSetup(Medium::Product());

    // Each press of Browse: the text typed before it (null: the field as the
    // previous row left it), the folder chosen in the picker (empty: none),
    // the way the picker ends, and the field afterwards.
    struct Row {
        const char* what;
        const char* typed;
        std::string chosen;
        int button;
        std::string field;
    } rows[] = {
        {"the picker opens on the typed folder", start.c_str(), "", IDOK, start},
        {"a chosen folder replaces the whole text", nullptr, other, IDOK, other},
        {"a fresh press starts from the new text", nullptr, "", IDOK, other},
        {"Cancel after another folder was chosen", start.c_str(), other, IDCANCEL, start},
        {"Cancel on a text that names no folder", nowhere.c_str(), "", IDCANCEL, nowhere},
        {"closing the picker's window is a cancel", nullptr, "", WM_CLOSE, nowhere},
        {"an empty field stays empty", "", "", IDCANCEL, ""},
        {"percent signs doubled", doubled.c_str(), "", IDOK, doubled},
        {"percent signs single", single.c_str(), "", IDOK, single},
        {"300 characters, Cancel: the field keeps them all", tooLong.c_str(), "", IDCANCEL,
         tooLong},
        {"300 characters, OK: the picker opened on the first 259", nullptr, "", IDOK, longest},
        {"a shorter text after the longer one", other.c_str(), "", IDOK, other},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.typed)
            setup.SetField(row.typed);
        EXPECT_EQ(row.field, Browse(setup, row.button, row.chosen));
    }
    EXPECT_TRUE(setup.Program().IsRunning());
}

TEST(FolderBrowser, OnlyFileSystemFoldersCanBeChosen) {
    std::string start = MakeFolder("C:\\Games\\Start Here");
    std::string other = MakeFolder("C:\\Games\\Somewhere Else");
    Session setup = StartSetup(Medium::Product());
    setup.SetField(start);

    HWND picker = PressBrowse(setup);
    HWND ok = GetDlgItem(picker, IDOK);
    EXPECT_TRUE(IsEnabled(ok)) << start;
    const std::pair<const char*, bool> selections[] = {
        {kRecycleBin, false}, {other.c_str(), true}, {kMyComputer, false}};
    for (const auto& [path, enabled] : selections) {
        ASSERT_TRUE(SelectInPicker(setup, picker, path));
        EXPECT_EQ(enabled, IsEnabled(ok)) << path;
    }

    // Should the picker still end with such an item (its OK button is
    // disabled, so the command is sent directly), the item has no path and
    // the field keeps its text.
    ClosePicker(setup, picker, IDOK);
    EXPECT_EQ(start, setup.Field());
    // And Browse goes on working.
    EXPECT_EQ(start, Browse(setup, IDOK));
}
