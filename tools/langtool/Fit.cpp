// Whether a text fits where the dialog shows it, in the dialog's font: its
// widest line in pixels against the room its control leaves, both from the
// program's own template and the font's measured widths.

#include "Catalogue.h"
#include "CodePage.h"
#include "DialogSizes.h"
#include "FontWidths.h"

namespace langtool {

namespace {

// A push button of the classic look centres its text and clips it only at
// its frame, 1 pixel on each side.
const int kButtonMargins = 2 * 1;
// The title bar holds, beside the caption, the icon and the close button
// (the dialog has no others), with 2 pixels around each of the three.
const int kTitleMargins = 3 * 2 * 2;

const CodePageWidths* FindWidths(unsigned codePage) {
    for (size_t i = 0; i < kCodePageWidthCount; ++i) {
        if (kCodePageWidths[i].codePage == codePage) {
            return &kCodePageWidths[i];
        }
    }
    return nullptr;
}

const DialogControl* FindControl(int id) {
    for (size_t i = 0; i < kSetupDialogControlCount; ++i) {
        if (kSetupDialogControls[i].value == id) {
            return &kSetupDialogControls[i];
        }
    }
    return nullptr;
}

int DialogUnitsToPixels(int units) {
    return (units * kDialogFont.baseX + 2) / 4;
}

// Rounded up, so that a text one pixel too wide shows as wider.
int PixelsToDialogUnits(int pixels) {
    return (pixels * 4 + kDialogFont.baseX - 1) / kDialogFont.baseX;
}

// The widest line of `bytes` in pixels. With `prefixes`, a '&' is not
// drawn and "&&" draws one '&', as in labels and buttons.
int TextWidth(const std::string& bytes, const int widths[256], bool prefixes) {
    int widest = 0;
    int line = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned char c = (unsigned char)bytes[i];
        if (c == '\n') {
            line = 0;
            continue;
        }
        if (prefixes && c == '&') {
            if (i + 1 >= bytes.size() || bytes[i + 1] != '&') {
                continue;
            }
            ++i;
        }
        line += widths[c];
        widest = line > widest ? line : widest;
    }
    return widest;
}

// The room in pixels for `wanted`'s text and the control's name for the
// message; false for a text shown elsewhere or a control the template lacks.
bool Room(const CatalogueText& wanted, int* pixels, std::string* where) {
    if (wanted.place == kInTitleBar) {
        *pixels = DialogUnitsToPixels(kSetupDialogSize.width) - kDialogFont.closeButton -
                  kDialogFont.smallIcon - kTitleMargins;
        *where = "the title bar";
        return true;
    }
    const DialogControl* control = FindControl(wanted.control);
    if (wanted.place == kElsewhere || control == nullptr) {
        return false;
    }
    *pixels = DialogUnitsToPixels(control->width);
    *pixels -= wanted.place == kOnButton ? kButtonMargins : 0;
    *where = std::string("its control ") + control->id;
    return true;
}

} // namespace

bool HasFontWidths(unsigned codePage) {
    return FindWidths(codePage) != nullptr;
}

bool RoomInDialogUnits(const CatalogueText& wanted, int* units, std::string* where) {
    int pixels = 0;
    if (!Room(wanted, &pixels, where)) {
        return false;
    }
    *units = pixels * 4 / kDialogFont.baseX;
    return true;
}

void CheckFit(const CatalogueText& wanted, const std::string& bytes, unsigned codePage,
              CReport& report) {
    const CodePageWidths* widths = FindWidths(codePage);
    int room = 0;
    std::string where;
    if (widths == nullptr || !Room(wanted, &room, &where)) {
        return;
    }
    // Title bars of the classic look use the bold face and draw '&' as is.
    bool caption = wanted.place == kInTitleBar;
    int width = TextWidth(bytes, caption ? widths->bold : widths->regular, !caption);
    if (width <= room) {
        return;
    }
    std::string utf8;
    CodePageToUtf8(codePage, bytes, &utf8);
    report.Warning(0, "%s (%d) \"%s\" is %d dialog units wide; %s has room for %d, so it is cut",
                   wanted.name, wanted.index, EscapeText(utf8).c_str(), PixelsToDialogUnits(width),
                   where.c_str(), room * 4 / kDialogFont.baseX);
}

} // namespace langtool
