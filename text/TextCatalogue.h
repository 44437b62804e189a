#pragma once
// The texts that setup reads from a language table. All languages share
// this numbering. One list holds every fact about them; each program
// expands the columns it needs, so that setup carries none of the names
// and English that langtool and the tests read.

#include <stddef.h>

#include "res/resource.h"

// The text's room: how it is drawn decides how wide it may be and whether
// '&' marks an accelerator.
enum TextPlace {
    kInTitleBar, // the dialog's title bar, in bold
    kOnLabel,    // a static control; '&' marks an accelerator
    kOnButton,   // a push button; '&' marks an accelerator
    // Outside the dialog (langtool measures no room there):
    kInMessageBody,  // a message box's own text, the one place a line break belongs
    kOnOneLine,      // a title (a message box's, the copy's progress window's, the
                     // folder picker's)
    kInFolderPicker, // the folder picker's line above its tree, wrapped to its width
};

// Whether a text of `place` is shown outside the setup dialog.
constexpr bool OutsideTheDialog(TextPlace place) {
    return place == kInMessageBody || place == kOnOneLine || place == kInFolderPicker;
}

// Which texts must carry one accelerator each, different from the others
// of its group.
enum TextAccelerators {
    kNoAccelerator,
    kDialogAccelerator, // one of the setup dialog's buttons
};

// Control ids without the system's header: the dialog's own title, none,
// and the system's IDOK and IDCANCEL (the dialog code asserts the values).
enum { kDialogTitle = 0, kNoControl = -1, kControlOk = 1, kControlCancel = 2 };

// The longest folder picker's caption (TXT_BROWSE_CAPTION), in bytes: setup
// keeps it in a buffer of one byte more, and cuts a longer one.
enum { kMaxBrowseCaptionLength = 127 };

// X(name, index, control, place, accelerators, longest bytes (0: no limit),
//   English, where setup shows it). The texts of the setup dialog, whose
// control (kDialogTitle: the dialog's own title) setup relabels, in the
// order it sets them, the Exit button last:
// clang-format off
#define DIALOG_TEXTS(X)                                                                            \
    X(TXT_DIALOG_TITLE, 658, kDialogTitle, kInTitleBar, kNoAccelerator, 0,                         \
      "The Vellmor Setup", "The title of the setup dialog.")                                       \
    X(TXT_INSTALL_TO, 659, IDC_LABEL_INSTALL_TO, kOnLabel, kNoAccelerator, 0,                      \
      "Install to:", "The label beside the folder to install into.")                               \
    X(TXT_LANGUAGE_SELECTION, 788, IDC_LABEL_LANGUAGE, kOnLabel, kNoAccelerator, 0,                \
      "Language Selection", "The label beside the list of languages.")                             \
    X(TXT_BROWSE, 661, IDC_BROWSE, kOnButton, kDialogAccelerator, 0,                               \
      "&Browse...", "The button that opens the folder picker.")                                    \
    X(TXT_INSTALL, 662, kControlOk, kOnButton, kDialogAccelerator, 0,                              \
      "&Install", "The button that installs the game.")                                            \
    X(TXT_EXIT, 664, kControlCancel, kOnButton, kDialogAccelerator, 0,                             \
      "E&xit", "The button that closes setup.")
// The texts of message boxes and the folder picker:
#define OTHER_TEXTS(X)                                                                             \
    X(TXT_BROWSE_TITLE, 665, kNoControl, kInFolderPicker, kNoAccelerator, 0,                       \
      "Choose the folder to install The Vellmor into:",                                            \
      "The line above the folder tree in the folder picker.")                                      \
    X(TXT_INSTALL_DONE, 668, kNoControl, kInMessageBody, kNoAccelerator, 0,                        \
      "The Vellmor has been installed successfully.\nYou can start the game from the Start Menu.", \
      "The message after a successful installation.")                                              \
    X(TXT_INSTALL_DONE_CAPTION, 669, kNoControl, kOnOneLine, kNoAccelerator, 0,                    \
      "Installation Complete", "The title of the message after a successful installation.")        \
    X(TXT_RUN_INSTALLED, 785, kNoControl, kInMessageBody, kNoAccelerator, 0,                       \
      "The Vellmor is already installed on this computer.\n\nDo you want to play The Vellmor "     \
      "now?\nChoose No to install it again.",                                                      \
      "The question when setup starts and finds the game installed; Yes starts the game.")         \
    X(TXT_RUN_INSTALLED_CAPTION, 786, kNoControl, kOnOneLine, kNoAccelerator, 0,                   \
      "The Vellmor Is Installed", "The title of the question when the game is installed.")         \
    X(TXT_BROWSE_CAPTION, 787, kNoControl, kOnOneLine, kNoAccelerator,                             \
      kMaxBrowseCaptionLength, "Select the Installation Folder",                                   \
      "The title bar of the folder picker.")
// The messages, their titles and questions of setup and its uninstaller,
// from 800 on. A game's table may hold its own texts there: these come from
// setup's own pair (text/SetupPair.h), and without it their English stands
// in. "%1" and "%2" mark the inserts each note names.
#define MESSAGE_TEXTS(X)                                                                           \
    X(TXT_NO_MEDIUM, 800, kNoControl, kInMessageBody, kNoAccelerator, 0,                           \
      "Please Insert The Vellmor CD in a CD ROM drive and run Setup again",                        \
      "The message when no CD-ROM drive holds the game's CD; setup ends after it.")                \
    X(TXT_NO_MEDIUM_CAPTION, 801, kNoControl, kOnOneLine, kNoAccelerator, 0,                       \
      "Vellmor CD Not Found",                                                                      \
      "The title of the message when the CD is not found.")                                        \
    X(TXT_COPY_TITLE, 802, kNoControl, kOnOneLine, kNoAccelerator, 0,                              \
      "Copying The Vellmor files...",                                                              \
      "The title of the progress window while the game's files are copied.")                       \
    X(TXT_NO_ROOM_QUESTION, 803, kNoControl, kInMessageBody, kNoAccelerator, 0,                    \
      "The Vellmor needs %1 MB of free space on the destination drive, which has only %2 MB "      \
      "free.\n\nInstall anyway?",                                                                  \
      "The question when the chosen drive has too little room; Yes installs all the same. %1 is "  \
      "the megabytes the game needs, %2 the megabytes free.")                                      \
    X(TXT_NO_ROOM_CAPTION, 804, kNoControl, kOnOneLine, kNoAccelerator, 0,                         \
      "Not Enough Space",                                                                          \
      "The title of the question when the drive has too little room.")                             \
    X(TXT_ERROR_CAPTION, 805, kNoControl, kOnOneLine, kNoAccelerator, 0,                           \
      "Error",                                                                                     \
      "The title of the messages that refuse the destination folder.")                             \
    X(TXT_ROOT_FAILED, 806, kNoControl, kInMessageBody, kNoAccelerator, 0,                         \
      "Could not create the destination root folder",                                              \
      "The message when the folder to install into cannot be made.")                               \
    X(TXT_PATH_TOO_LONG, 807, kNoControl, kInMessageBody, kNoAccelerator, 0,                       \
      "The destination folder's path is too long.",                                                \
      "The message when the folder to install into has too long a path.")                          \
    X(TXT_MENU_PATH_TOO_LONG, 808, kNoControl, kInMessageBody, kNoAccelerator, 0,                  \
      "The Start Menu folder's path is too long.",                                                 \
      "The message when the game's Start Menu folder would have too long a path.")                 \
    X(TXT_PATH_RELATIVE, 809, kNoControl, kInMessageBody, kNoAccelerator, 0,                       \
      "Please type the destination folder's full path, such as C:\\Games or "                      \
      "\\\\Server\\Share\\Games.",                                                                 \
      "The message when the folder typed is not a full path. Keep the two example paths as they "  \
      "are.")                                                                                      \
    X(TXT_SOURCE_FAILED, 810, kNoControl, kInMessageBody, kNoAccelerator, 0,                       \
      "Could not set source folder to current directory!",                                         \
      "The message when setup cannot read from the CD's folder.")                                  \
    X(TXT_SOURCE_FAILED_CAPTION, 811, kNoControl, kOnOneLine, kNoAccelerator, 0,                   \
      "Source Folder Error",                                                                       \
      "The title of the message when setup cannot read from the CD's folder.")                     \
    X(TXT_CANCELLED, 812, kNoControl, kInMessageBody, kNoAccelerator, 0,                           \
      "Installation Cancelled.",                                                                   \
      "The message when the user cancelled the copy.")                                             \
    X(TXT_CANCELLED_CAPTION, 813, kNoControl, kOnOneLine, kNoAccelerator, 0,                       \
      "Cancelled",                                                                                 \
      "The title of the message when the user cancelled the copy.")                                \
    X(TXT_COPY_FAILED, 814, kNoControl, kInMessageBody, kNoAccelerator, 0,                         \
      "The files could not be copied.",                                                            \
      "The message when the game's files could not be copied.")                                    \
    X(TXT_COPY_FAILED_CAPTION, 815, kNoControl, kOnOneLine, kNoAccelerator, 0,                     \
      "Copy Error",                                                                                \
      "The title of the message when the files could not be copied.")                              \
    X(TXT_VERSION_FAILED, 816, kNoControl, kInMessageBody, kNoAccelerator, 0,                      \
      "Could not create the Version file!",                                                        \
      "The message when the game's version file cannot be written; its title bar shows the "       \
      "program's name.")                                                                           \
    X(TXT_SHORTCUT_FAILED, 817, kNoControl, kInMessageBody, kNoAccelerator, 0,                     \
      "Could not create the shortcut on the Start Menu.",                                          \
      "The message when the Start Menu shortcuts cannot be made.")                                 \
    X(TXT_SHORTCUT_FAILED_CAPTION, 818, kNoControl, kOnOneLine, kNoAccelerator, 0,                 \
      "Shortcut Error",                                                                            \
      "The title of the message when the shortcuts cannot be made.")                               \
    X(TXT_LANGUAGE_FAILED, 819, kNoControl, kInMessageBody, kNoAccelerator, 0,                     \
      "Could not copy the language files!",                                                        \
      "The message when the chosen language's files cannot be copied into the installation.")      \
    X(TXT_LANGUAGE_FAILED_CAPTION, 820, kNoControl, kOnOneLine, kNoAccelerator, 0,                 \
      "Language Files Error",                                                                      \
      "The title of the message when the language files cannot be copied.")                        \
    X(TXT_REGISTRY_FAILED, 821, kNoControl, kInMessageBody, kNoAccelerator, 0,                     \
      "Could not record the installation in the registry!",                                        \
      "The message when the installation cannot be recorded in the registry.")                     \
    X(TXT_REGISTRY_FAILED_CAPTION, 822, kNoControl, kOnOneLine, kNoAccelerator, 0,                 \
      "Registry Error",                                                                            \
      "The title of the message when the installation cannot be recorded.")                        \
    X(TXT_RENDERER_FAILED, 823, kNoControl, kInMessageBody, kNoAccelerator, 0,                     \
      "Could not copy the Glide renderer library!",                                                \
      "The message when the Glide renderer library cannot be copied. Glide is a name.")            \
    X(TXT_RENDERER_FAILED_CAPTION, 824, kNoControl, kOnOneLine, kNoAccelerator, 0,                 \
      "Renderer Error",                                                                            \
      "The title of the message when the renderer library cannot be copied.")                      \
    X(TXT_UNINSTALLER_FAILED, 825, kNoControl, kInMessageBody, kNoAccelerator, 0,                  \
      "Could not set up the uninstaller!",                                                         \
      "The message when the uninstaller cannot be set up.")                                        \
    X(TXT_UNINSTALLER_FAILED_CAPTION, 826, kNoControl, kOnOneLine, kNoAccelerator, 0,              \
      "Uninstall Error",                                                                           \
      "The title of the message when the uninstaller cannot be set up.")                           \
    X(TXT_USAGE, 827, kNoControl, kInMessageBody, kNoAccelerator, 0,                               \
      "Unknown or incomplete argument: %1\n\nSetup takes /VERYSILENT (or /S), /DIR=\"folder\" (or "\
      "/D=folder, last), /LANG=language and /LOG=\"file\".",                                       \
      "The message when setup is started with a wrong argument; %1 is that argument. Keep the "    \
      "switches /VERYSILENT, /S, /DIR=, /D=, /LANG= and /LOG= as they are.")                       \
    X(TXT_WINDOW_FAILED, 828, kNoControl, kInMessageBody, kNoAccelerator, 0,                       \
      "Setup could not open its window (error %1).",                                               \
      "The message when setup cannot open its dialog; %1 is the system's error number.")           \
    X(TXT_UNINSTALL_CAPTION, 829, kNoControl, kOnOneLine, kNoAccelerator, 0,                       \
      "Uninstall The Vellmor",                                                                     \
      "The title of the uninstaller's messages.")                                                  \
    X(TXT_UNINSTALL_QUESTION, 830, kNoControl, kInMessageBody, kNoAccelerator, 0,                  \
      "Do you want to remove The Vellmor and its Start Menu shortcuts?\n\nSaved games and other "  \
      "files that setup did not install are kept.",                                                \
      "The uninstaller's question before it removes anything; Yes removes the game.")              \
    X(TXT_UNINSTALL_DONE, 831, kNoControl, kInMessageBody, kNoAccelerator, 0,                      \
      "The Vellmor has been removed.",                                                             \
      "The uninstaller's closing message.")                                                        \
    X(TXT_UNINSTALL_KEPT, 832, kNoControl, kInMessageBody, kNoAccelerator, 0,                      \
      "Files that setup did not install are still in %1.",                                         \
      "A paragraph of the closing message when the player's own files stay; %1 is the game's "     \
      "folder.")                                                                                   \
    X(TXT_UNINSTALL_STAYED, 833, kNoControl, kInMessageBody, kNoAccelerator, 0,                    \
      "These could not be removed:",                                                               \
      "A paragraph of the closing message, followed by the files that could not be removed, one a "\
      "line.")                                                                                     \
    X(TXT_RECORD_MISSING, 834, kNoControl, kInMessageBody, kNoAccelerator, 0,                      \
      "The uninstall record %1 is missing; nothing was removed.",                                  \
      "The uninstaller's message when its record is missing; %1 is the record's file.")            \
    X(TXT_RECORD_DAMAGED, 835, kNoControl, kInMessageBody, kNoAccelerator, 0,                      \
      "The uninstall record is damaged (line %1: %2); nothing was removed.",                       \
      "The uninstaller's message when its record is damaged; %1 is the line number, %2 what is "   \
      "wrong with it (in English).")                                                               \
    X(TXT_LINK_REFUSED, 836, kNoControl, kInMessageBody, kNoAccelerator, 0,                        \
      "%1 is a link to another folder; choose the folder it leads to.",                            \
      "The message when a folder on the way to the game's folder is a link (a junction) to "      \
      "another folder; nothing is installed or removed. %1 is that folder.")                       \
    X(TXT_ELEVATION_FAILED, 838, kNoControl, kInMessageBody, kNoAccelerator, 0,                    \
      "Windows could not ask for administrator rights (error %1). Nothing was changed.",           \
      "The message when the prompt for administrator rights cannot be shown or the elevated setup "\
      "cannot start; %1 is the system's error number.")                                           \
    X(TXT_UNINSTALLER_NOT_HOME, 839, kNoControl, kInMessageBody, kNoAccelerator, 0,                \
      "This uninstaller does not run from its folder below %1; nothing was removed. Remove The "   \
      "Vellmor from Apps & features.",                                                             \
      "The uninstaller's message when a copy of it is started from another folder; %1 is the "     \
      "folder below which the uninstallers live. Apps & features is Windows's list of programs.")  \
    X(TXT_EARLIER_IN_USE, 840, kNoControl, kInMessageBody, kNoAccelerator, 0,                      \
      "The Vellmor is in use and cannot be replaced. Close the game and run Setup again; nothing " \
      "was changed.",                                                                              \
      "The message when a program (the game) uses the folder of the earlier installation, so "     \
      "that setup cannot move it aside; nothing is installed.")                                    \
    X(TXT_REPLACE_FAILED, 841, kNoControl, kInMessageBody, kNoAccelerator, 0,                      \
      "The new installation could not take the earlier one's place, which is left as it was.",     \
      "The message when the installation, complete in setup's own folder, cannot be put in the "   \
      "game folder's place; the earlier installation is left as it was.")                          \
    X(TXT_FOLDER_NOT_HELD, 850, kNoControl, kInMessageBody, kNoAccelerator, 0,                     \
      "%1 cannot be locked against changes (another program may have it open); nothing was "       \
      "changed.",                                                                                  \
      "The message when setup cannot open a folder on the way to the game's folder so that no "    \
      "one else can change it meanwhile; nothing is installed or removed. %1 is that folder.")     \
    X(TXT_IN_USE, 860, kNoControl, kInMessageBody, kNoAccelerator, 0,                              \
      "Files in %1 are in use (%2). Close the game and choose Retry, or Cancel to change nothing.", \
      "The message when a program (the game) holds files of the earlier installation open, before "\
      "anything is installed or removed; %1 is the game's folder, %2 the programs, with commas "   \
      "between, or where Windows cannot tell, a file they hold. Retry looks again.")               \
    X(TXT_IN_USE_CAPTION, 862, kNoControl, kOnOneLine, kNoAccelerator, 0, "Files in Use",          \
      "The title of the message when a program holds the game's files.")                           \
    X(TXT_SETUP_RUNNING, 863, kNoControl, kInMessageBody, kNoAccelerator, 0,                       \
      "Another setup of The Vellmor is running.",                                                  \
      "The message when setup or the uninstaller starts while another one installs or removes "   \
      "the game and has no window to show.")                                                       \
    X(TXT_ELEVATED_PART_FAILED, 880, kNoControl, kInMessageBody, kNoAccelerator, 0,                \
      "Setup's part with administrator rights ended unexpectedly (code %1); the installation may " \
      "be incomplete.",                                                                            \
      "The message when setup's copy with administrator rights ends without having said why; %1 "  \
      "is its exit code.")

// clang-format on
#define TEXT_CATALOGUE(X) DIALOG_TEXTS(X) OTHER_TEXTS(X) MESSAGE_TEXTS(X)

// The records of the game's table that setup reads: up to the last index
// of DIALOG_TEXTS and OTHER_TEXTS (788). langtool writes no more.
constexpr int RecordsOfEveryTable() {
    int records = 0;
#define TEXT_RECORDS(name, index, ...) records = index + 1 > records ? index + 1 : records;
    DIALOG_TEXTS(TEXT_RECORDS) OTHER_TEXTS(TEXT_RECORDS);
#undef TEXT_RECORDS
    return records;
}
enum { kRecordsOfEveryTable = RecordsOfEveryTable() };

// Whether `index` is one of setup's own texts, which only setup's pair
// holds; the others come from the game's table.
constexpr bool InSetupPair(int index) {
    switch (index) {
#define TEXT_IN_SETUP_PAIR(name, index, ...)                                                       \
    case index:                                                                                    \
        return true;
        MESSAGE_TEXTS(TEXT_IN_SETUP_PAIR)
#undef TEXT_IN_SETUP_PAIR
    }
    return false;
}

enum TextIndex {
#define TEXT_INDEX(name, index, ...) name = index,
    TEXT_CATALOGUE(TEXT_INDEX)
#undef TEXT_INDEX
};

// The English of `index`, for constant expressions: through kText, setup
// holds the English of the texts it shows and nothing else of the list.
constexpr const char* EnglishOf(int index) {
    switch (index) {
#define TEXT_ENGLISH(name, index, control, place, accelerators, longest, english, where)           \
    case index:                                                                                    \
        return english;
        TEXT_CATALOGUE(TEXT_ENGLISH)
#undef TEXT_ENGLISH
    }
    return nullptr;
}

// A text as setup refers to it: its index, and the English that stands in
// when a table lacks it (or, with kNoText, always).
struct TextRef {
    int index;
    const char* english;
};

// An index that no table holds: GetString yields nothing for it.
enum { kNoText = -1 };

template <TextIndex Index> inline constexpr TextRef kText = {Index, EnglishOf(Index)};

// One row of the list, for the programs that read the whole of it.
struct CatalogueText {
    const char* name; // "TXT_INSTALL_TO"
    int index;
    int control; // kDialogTitle for the dialog's title, kNoControl for texts shown elsewhere
    TextPlace place;
    TextAccelerators accelerators;
    size_t longest; // bytes in the code page; 0: no limit
    const char* english;
    const char* where;
};

#define TEXT_COUNT(...) +1
enum { kTextCatalogueSize = 0 TEXT_CATALOGUE(TEXT_COUNT) };
#undef TEXT_COUNT
extern const CatalogueText kTextCatalogue[kTextCatalogueSize];

// The catalogue's row of `index`, or null when setup never reads it.
const CatalogueText* FindCatalogueText(int index);
