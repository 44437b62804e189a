#pragma once
// The rules the texts setup reads follow (text/TextCatalogue.h), checked
// alike on a language's PO file being built and on a finished table.

#include <map>
#include <string>

#include "Report.h"
#include "text/TextCatalogue.h"

namespace langtool {

// A text of a table in its code page's bytes.
struct TableText {
    std::string bytes;
    bool broken = false; // a record that cannot be read (reported already)
};
using TableTexts = std::map<int, TableText>;

// Errors for a missing or empty catalogue text, a text over its longest
// and texts of an accelerator group whose accelerators are not one each
// and distinct; warnings for texts wider than their places and for each
// index setup never reads.
void CheckCatalogue(const TableTexts& texts, unsigned codePage, CReport& report);

// Warns when `wanted`'s text is wider than the place it is shown in the
// dialog's font; nothing when the code page's widths are not known (Fit.cpp).
void CheckFit(const CatalogueText& wanted, const std::string& bytes, unsigned codePage,
              CReport& report);

// Whether the dialog font's widths are known for `codePage` (Fit.cpp).
bool HasFontWidths(unsigned codePage);

// The room in dialog units for `wanted`'s text in the dialog, with the
// control's name; false for a text shown elsewhere (Fit.cpp).
bool RoomInDialogUnits(const CatalogueText& wanted, int* units, std::string* where);

} // namespace langtool
