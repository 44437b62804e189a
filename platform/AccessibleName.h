#pragma once
// Names for screen readers. A screen reader names a field after the label
// just before it in the dialog's order; where the order must stay another
// (the arrow keys' groups follow it), the name is set on the field itself
// through Active Accessibility's annotation service (IAccPropServices).

#include <windows.h>

struct LabelledControl {
    int control;
    int label;
};

// Gives each control of `dialog` in `pairs` the text of its label, its
// mnemonic's "&" left out, as its accessible name, in place of any name
// set before. Systems without the service (Windows 95; 98 and NT 4 without
// Active Accessibility 2.0) keep the names they would give: nothing is
// reported.
void NameControlsAfterLabels(HWND dialog, const LabelledControl* pairs, int count);
