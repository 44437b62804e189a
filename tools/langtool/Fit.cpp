// Whether a text fits where the dialog shows it, in the dialog's font: its
// widest line in pixels against the room its control leaves, both from the
// program's own template and the font's widths: measured where Wine has the
// code page's MS Sans Serif, else by rule (Widths below).

#include <algorithm>
#include <map>
#include <string>

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

// Code page 1258's letters that 1252 lacks, measured as the letter they
// are built on; its five combining tone marks take no room of their own.
const struct {
    unsigned character;
    char base;
} kVietnameseBases[] = {
    {0x102, 'A'}, {0x103, 'a'}, {0x110, 'D'}, {0x111, 'd'},  {0x1A0, 'O'},
    {0x1A1, 'o'}, {0x1AF, 'U'}, {0x1B0, 'u'}, {0x20AB, 'd'},
};

const CodePageWidths* FindMeasured(unsigned codePage) {
    for (size_t i = 0; i < kCodePageWidthCount; ++i) {
        if (kCodePageWidths[i].codePage == codePage) {
            return &kCodePageWidths[i];
        }
    }
    return nullptr;
}

// The width of code page 1258's `byte` by the rule above, from 1252's.
int VietnameseWidth(unsigned char byte, const int western[256]) {
    std::string utf8;
    std::string western1252;
    CodePageToUtf8(1258, std::string(1, (char)byte), &utf8);
    unsigned character = FirstCodePoint(utf8);
    if (character >= 0x300 && character <= 0x36F) {
        return 0;
    }
    for (const auto& letter : kVietnameseBases) {
        if (letter.character == character) {
            return western[(unsigned char)letter.base];
        }
    }
    bool shared =
        Utf8ToCodePage(1252, utf8, &western1252) == ConvertResult::Ok && western1252.size() == 1;
    return shared ? western[(unsigned char)western1252[0]] : kDialogFont.baseX;
}

// The widths of a code page's single bytes. The East Asian code pages have
// no measured font here: every single byte is one half-width cell, the
// dialog font's average width (4 dialog units), and every two-byte
// character a full-width cell of twice that, bold or not.
const CodePageWidths* Widths(unsigned codePage) {
    static std::map<unsigned, CodePageWidths> made;
    if (const CodePageWidths* measured = FindMeasured(codePage)) {
        return measured;
    }
    const CodePageWidths* western = FindMeasured(1252);
    bool eastAsian = IsLeadByte(codePage, 0x81);
    if (western == nullptr || (codePage != 1258 && !eastAsian)) {
        return nullptr;
    }
    auto found = made.find(codePage);
    if (found != made.end()) {
        return &found->second;
    }
    CodePageWidths& widths = made[codePage];
    widths.codePage = codePage;
    for (int byte = 0; byte < 256; ++byte) {
        widths.regular[byte] =
            eastAsian ? kDialogFont.baseX : VietnameseWidth((unsigned char)byte, western->regular);
        widths.bold[byte] =
            eastAsian ? kDialogFont.baseX : VietnameseWidth((unsigned char)byte, western->bold);
    }
    return &widths;
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
// drawn and "&&" draws one '&', as in labels and buttons. A two-byte
// character of an East Asian code page is one full-width cell.
int TextWidth(const std::string& bytes, unsigned codePage, const int widths[256], bool prefixes) {
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
        if (IsLeadByte(codePage, c) && i + 1 < bytes.size()) {
            ++i;
            line += 2 * kDialogFont.baseX;
        } else {
            line += widths[c];
        }
        widest = line > widest ? line : widest;
    }
    return widest;
}

// The lines `bytes` takes when wrapped as a static control wraps it, at
// spaces within `room` pixels, and between the characters of a word wider
// than the room (East Asian text has no spaces: each two-byte character
// breaks alone).
int WrappedLines(const std::string& bytes, unsigned codePage, const int widths[256], int room) {
    int lines = 1;
    int line = 0;
    for (size_t i = 0; i < bytes.size();) {
        bool wide = IsLeadByte(codePage, (unsigned char)bytes[i]) && i + 1 < bytes.size();
        size_t end = i + (wide ? 2 : 1);
        while (!wide && end < bytes.size() && bytes[end] != ' ' &&
               !IsLeadByte(codePage, (unsigned char)bytes[end])) {
            ++end;
        }
        std::string word = bytes.substr(i, end - i);
        int width = TextWidth(word, codePage, widths, false);
        if (line > 0 && line + width > room && bytes[i] != ' ') {
            ++lines;
            line = 0;
        }
        for (; line + width > room && width > room; width -= room) {
            ++lines; // a word wider than the line is broken where it reaches the edge
        }
        line += width;
        i = end;
        while (i < bytes.size() && bytes[i] == ' ') {
            line += widths[(unsigned char)' '];
            ++i;
        }
    }
    return lines;
}

// Warns when the folder picker's line wraps to more lines than it shows.
void CheckPickerFit(const CatalogueText& wanted, const std::string& bytes, unsigned codePage,
                    const CodePageWidths& widths, CReport& report) {
    int room = DialogUnitsToPixels(kPickerLineWidth);
    int lines = WrappedLines(bytes, codePage, widths.regular, room);
    if (lines <= kPickerLines) {
        return;
    }
    std::string utf8;
    CodePageToUtf8(codePage, bytes, &utf8);
    report.Warning(0,
                   "%s (%d) \"%s\" takes %d lines of %d dialog units; the folder picker shows "
                   "%d, so it is cut",
                   wanted.name, wanted.index, EscapeText(utf8).c_str(), lines, kPickerLineWidth,
                   kPickerLines);
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
    if (OutsideTheDialog(wanted.place) || control == nullptr) {
        return false;
    }
    *pixels = DialogUnitsToPixels(control->width);
    *pixels -= wanted.place == kOnButton ? kButtonMargins : 0;
    *where = std::string("its control ") + control->id;
    return true;
}

// The average width in pixels of a letter of `group`, from the letters of
// its code page that the measured tables hold: Latin a to z (1252),
// Cyrillic а to я (1251) and Greek α to ω (1253), the wider of the two, and
// a CJK character's full-width cell.
int AverageLetterWidth(ScriptGroup group, bool bold) {
    const struct {
        unsigned codePage;
        unsigned char first, last;
    } kLetters[] = {{1252, 'a', 'z'}, {1251, 0xE0, 0xFF}, {1253, 0xE1, 0xF9}};
    if (group == kCjk) {
        return 2 * kDialogFont.baseX;
    }
    int widest = 0;
    for (const auto& letters : kLetters) {
        const CodePageWidths* widths = FindMeasured(letters.codePage);
        if (widths == nullptr || (group == kLatin) != (letters.codePage == 1252)) {
            continue;
        }
        int sum = 0;
        for (unsigned c = letters.first; c <= letters.last; ++c) {
            sum += (bold ? widths->bold : widths->regular)[c];
        }
        int count = letters.last - letters.first + 1;
        widest = std::max(widest, (sum + count - 1) / count);
    }
    return widest > 0 ? widest : kDialogFont.baseX;
}

} // namespace

ScriptGroup GroupOfCodePage(unsigned codePage) {
    if (IsLeadByte(codePage, 0x81)) {
        return kCjk;
    }
    return codePage == 1251 || codePage == 1253 ? kCyrillicGreek : kLatin;
}

int LettersInRoom(int units, ScriptGroup group, bool bold) {
    return DialogUnitsToPixels(units) / AverageLetterWidth(group, bold);
}

std::string RoomInLetters(int units, ScriptGroup group, bool bold) {
    const char* const kNames[] = {"Latin letters", "Cyrillic or Greek letters", "CJK characters"};
    return std::to_string(LettersInRoom(units, group, bold)) + " " + kNames[group];
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
    const CodePageWidths* widths = Widths(codePage);
    int room = 0;
    std::string where;
    if (widths != nullptr && wanted.place == kInFolderPicker) {
        CheckPickerFit(wanted, bytes, codePage, *widths, report);
        return;
    }
    if (widths == nullptr || !Room(wanted, &room, &where)) {
        return;
    }
    // Title bars of the classic look use the bold face and draw '&' as is.
    bool caption = wanted.place == kInTitleBar;
    int width = TextWidth(bytes, codePage, caption ? widths->bold : widths->regular, !caption);
    if (width <= room) {
        return;
    }
    std::string utf8;
    CodePageToUtf8(codePage, bytes, &utf8);
    int units = room * 4 / kDialogFont.baseX;
    report.Warning(0,
                   "%s (%d) \"%s\" is %d dialog units wide; %s has room for %d (about %s), so it "
                   "is cut",
                   wanted.name, wanted.index, EscapeText(utf8).c_str(), PixelsToDialogUnits(width),
                   where.c_str(), units,
                   RoomInLetters(units, GroupOfCodePage(codePage), caption).c_str());
}

} // namespace langtool
