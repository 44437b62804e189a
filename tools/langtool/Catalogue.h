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

// Errors for a missing or empty catalogue text, a text over its longest,
// a control character (a line break outside a message's text), other
// placeholders than the English's, and texts of an accelerator group whose
// accelerators are not one each and distinct; warnings for texts wider than their places and for
// each index setup never reads.
void CheckCatalogue(const TableTexts& texts, unsigned codePage, CReport& report);

// The rules of one text in its code page's bytes, as CheckCatalogue applies
// them to each text it finds: not empty, not over its longest, no control
// character (a line break only in a message's text), the placeholders %1
// to %9 of its English and no others (in any order, any number of times),
// and room where the dialog shows it.
void CheckText(const CatalogueText& wanted, const std::string& bytes, unsigned codePage,
               CReport& report);

// Whether `text` holds a placeholder, %1 to %9.
bool HasPlaceholders(const std::string& text);

// The folder picker is the system's dialog, not ours: its line above the
// tree is the static IDD_TITLE of Wine's template for SHBrowseForFolder
// without BIF_NEWDIALOGSTYLE (shell32.rc, SHBRSFORFOLDER_MSGBOX: at 5,4,
// 180 dialog units wide, the tree from 40 down); Windows' picker of this
// style is taken to be laid out alike (not measured). The static wraps the
// text at its width and, drawing with its parent's device context, shows
// the lines below its own 12 units until the tree covers them: three whole
// lines of the font under Wine.
constexpr int kPickerLineWidth = 180;
constexpr int kPickerLines = 3;

// Warns when `wanted`'s text is wider than the place it is shown in the
// dialog's font (Fit.cpp).
void CheckFit(const CatalogueText& wanted, const std::string& bytes, unsigned codePage,
              CReport& report);

// The scripts whose letters take about the same room in the dialog's font.
enum ScriptGroup { kLatin, kCyrillicGreek, kCjk };
// The group of the code page's letters.
ScriptGroup GroupOfCodePage(unsigned codePage);
// About how many letters of `group` fit in `units` dialog units, and the
// same said for a message ("14 Latin letters").
int LettersInRoom(int units, ScriptGroup group, bool bold);
std::string RoomInLetters(int units, ScriptGroup group, bool bold);

// The room in dialog units for `wanted`'s text in the dialog, with the
// control's name; false for a text shown elsewhere (Fit.cpp).
bool RoomInDialogUnits(const CatalogueText& wanted, int* units, std::string* where);

} // namespace langtool
