#pragma once
// The setup dialog's font as measured by tools/fontwidths: 8-point MS Sans
// Serif, widths in pixels of every byte of a Windows ANSI code page.

#include <stddef.h>

struct DialogFont {
    int baseX;       // horizontal dialog base unit: 4 dialog units are this many pixels
    int baseY;       // vertical: 8 dialog units are this many pixels
    int closeButton; // width of a title bar button (SM_CXSIZE)
    int smallIcon;   // width of the title bar's icon (SM_CXSMICON)
};

struct CodePageWidths {
    unsigned codePage;
    int regular[256]; // the dialog's texts
    int bold[256];    // the title bar of the classic look
};

extern const DialogFont kDialogFont;
extern const CodePageWidths kCodePageWidths[];
extern const size_t kCodePageWidthCount;
