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
    kElsewhere,  // a message box or the folder picker
};

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
// control (kDialogTitle: the dialog's own title) setup relabels:
// clang-format off
#define DIALOG_TEXTS(X)                                                                            \
    X(TXT_DIALOG_TITLE, 658, kDialogTitle, kInTitleBar, kNoAccelerator, 0,                         \
      "The Vellmor Setup", "The title of the setup dialog.")                                       \
    X(TXT_INSTALL_TO, 659, IDC_LABEL_INSTALL_TO, kOnLabel, kNoAccelerator, 0,                      \
      "Install to:", "The label beside the folder to install into.")                               \
    X(TXT_BROWSE, 661, IDC_BROWSE, kOnButton, kDialogAccelerator, 0,                               \
      "&Browse...", "The button that opens the folder picker.")                                    \
    X(TXT_INSTALL, 662, kControlOk, kOnButton, kDialogAccelerator, 0,                              \
      "&Install", "The button that installs the game.")                                            \
    X(TXT_EXIT, 664, kControlCancel, kOnButton, kDialogAccelerator, 0,                             \
      "E&xit", "The button that closes setup.")                                                    \
    X(TXT_LANGUAGE_SELECTION, 788, IDC_LABEL_LANGUAGE, kOnLabel, kNoAccelerator, 0,                \
      "Language Selection", "The label beside the list of languages.")
// The texts of message boxes and the folder picker:
#define OTHER_TEXTS(X)                                                                             \
    X(TXT_BROWSE_TITLE, 665, kNoControl, kElsewhere, kNoAccelerator, 0,                            \
      "Choose the folder to install The Vellmor into:",                                            \
      "The line above the folder tree in the folder picker.")                                      \
    X(TXT_INSTALL_DONE, 668, kNoControl, kElsewhere, kNoAccelerator, 0,                            \
      "The Vellmor has been installed successfully.\nYou can start the game from the Start Menu.", \
      "The message after a successful installation.")                                              \
    X(TXT_INSTALL_DONE_CAPTION, 669, kNoControl, kElsewhere, kNoAccelerator, 0,                    \
      "Installation Complete", "The title of the message after a successful installation.")        \
    X(TXT_RUN_INSTALLED, 785, kNoControl, kElsewhere, kNoAccelerator, 0,                           \
      "The Vellmor is already installed on this computer.\n\nDo you want to play The Vellmor "     \
      "now?\nChoose No to install it again.",                                                      \
      "The question when setup starts and finds the game installed; Yes starts the game.")         \
    X(TXT_RUN_INSTALLED_CAPTION, 786, kNoControl, kElsewhere, kNoAccelerator, 0,                   \
      "The Vellmor Is Installed", "The title of the question when the game is installed.")         \
    X(TXT_BROWSE_CAPTION, 787, kNoControl, kElsewhere, kNoAccelerator,                             \
      kMaxBrowseCaptionLength, "Select the Installation Folder",                                   \
      "The title bar of the folder picker.")
// clang-format on
#define TEXT_CATALOGUE(X) DIALOG_TEXTS(X) OTHER_TEXTS(X)

enum TextIndex {
#define TEXT_INDEX(name, index, ...) name = index,
    TEXT_CATALOGUE(TEXT_INDEX)
#undef TEXT_INDEX
};

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
