#pragma once
// Indexes of the texts that setup reads from a language table. All
// languages share this numbering.

enum TextIndex {
    TXT_DIALOG_TITLE = 658,
    TXT_INSTALL_TO = 659,
    TXT_BROWSE = 661,
    TXT_INSTALL = 662,
    TXT_EXIT = 664,
    TXT_BROWSE_TITLE = 665,
    TXT_INSTALL_DONE = 668,
    TXT_INSTALL_DONE_CAPTION = 669,
    TXT_RUN_INSTALLED = 785,
    TXT_RUN_INSTALLED_CAPTION = 786,
    TXT_BROWSE_CAPTION = 787,
    TXT_LANGUAGE_SELECTION = 788,
};

// The longest folder picker's caption (TXT_BROWSE_CAPTION), in bytes: setup
// keeps it in a buffer of one byte more, and cuts a longer one.
enum { kMaxBrowseCaptionLength = 127 };
