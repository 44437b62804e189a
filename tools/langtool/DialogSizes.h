#pragma once
// The setup dialog's template as langtool needs it: sizes in dialog units,
// made from res/Setup.rc at build time (dialogsizes.py).

#include <stddef.h>

struct DialogSize {
    int width;
    int height;
};

struct DialogControl {
    const char* id;        // the identifier's name in the template, "IDOK"
    int value;             // the identifier's value, 1
    const char* className; // "STATIC", "BUTTON", ...
    int width;
    int height;
};

extern const DialogSize kSetupDialogSize;
extern const DialogControl kSetupDialogControls[];
extern const size_t kSetupDialogControlCount;
