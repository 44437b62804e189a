#pragma once
// The texts setup reads and the rules they follow, checked alike on a
// source being built and on a finished table.

#include <map>
#include <string>

#include "Report.h"

namespace langtool {

// Where setup shows a text.
enum class Shown {
    Elsewhere, // a message box or the folder picker
    Caption,   // the dialog's title bar
    Label,     // a static control of the dialog; '&' marks the accelerator
    Button,    // a push button of the dialog; '&' marks the accelerator
};

struct CatalogueText {
    int index;
    const char* name;
    Shown shown;
    const char* control; // the template's identifier for a label or button
};

// A text of a table in its code page's bytes.
struct TableText {
    std::string bytes;
    int line = 0;        // its source line; 0 for a finished table
    bool broken = false; // a record that cannot be read (reported already)
};
using TableTexts = std::map<int, TableText>;

// Whether setup reads the text of `index`.
bool IsCatalogueIndex(int index);

// Errors for a missing or empty catalogue text, a browse caption over 127
// characters and buttons whose accelerators are not one each and distinct;
// warnings for texts wider than their controls and for each index setup
// never reads.
void CheckCatalogue(const TableTexts& texts, unsigned codePage, CReport& report);

// Warns when `wanted`'s text is wider than the place it is shown in the
// dialog's font; nothing when the code page's widths are not known (Fit.cpp).
void CheckFit(const CatalogueText& wanted, const TableText& text, unsigned codePage,
              CReport& report);

// Whether the dialog font's widths are known for `codePage` (Fit.cpp).
bool HasFontWidths(unsigned codePage);

} // namespace langtool
