// Measures the setup dialog's font and prints it as langtool's data file
// (tools/langtool/FontWidths.cpp): the dialog's base units, the title bar's
// buttons, and for each Windows ANSI code page the width in pixels of every
// byte in 8-point MS Sans Serif, regular (the dialog's texts) and bold (the
// title bar of the classic look).
//
// The dialog is made from its own template, so the font is the one its
// FONT statement gives; only the character set changes per code page, as
// it does on a Windows whose ANSI code page that is. Font files named on
// the command line are added first: a Windows (or Wine) installs the MS
// Sans Serif of its own code page only.

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "res/resource.h"

namespace {

const unsigned kCodePages[] = {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257};

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// The font as the dialog made it, in the character set of `codePage`;
// null when the system has no MS Sans Serif in that set.
HFONT CreateDialogFont(const LOGFONTA& dialogFont, unsigned codePage, LONG weight) {
    CHARSETINFO info;
    if (!TranslateCharsetInfo((DWORD*)(ULONG_PTR)codePage, &info, TCI_SRCCODEPAGE)) {
        return nullptr;
    }
    LOGFONTA font = dialogFont;
    font.lfCharSet = (BYTE)info.ciCharset;
    font.lfWeight = weight;
    return CreateFontIndirectA(&font);
}

bool IsMsSansSerif(HDC dc, BYTE charSet) {
    char face[LF_FACESIZE] = "";
    TEXTMETRICA metrics;
    GetTextFaceA(dc, sizeof(face), face);
    return GetTextMetricsA(dc, &metrics) && metrics.tmCharSet == charSet &&
           strcmp(face, "MS Sans Serif") == 0;
}

// Widths of bytes 0 to 255; 0 for control characters and bytes the code
// page leaves undefined.
bool MeasureBytes(HDC dc, unsigned codePage, int widths[256]) {
    for (int byte = 0; byte < 256; ++byte) {
        char ansi = (char)byte;
        WCHAR wide = 0;
        INT width = 0;
        widths[byte] = 0;
        if (byte >= 0x20 &&
            MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, &ansi, 1, &wide, 1) == 1 &&
            !GetCharWidth32W(dc, wide, wide, &width)) {
            return false;
        }
        widths[byte] = byte >= 0x20 ? width : 0;
    }
    return true;
}

bool MeasureFont(HDC dc, const LOGFONTA& dialogFont, unsigned codePage, LONG weight,
                 int widths[256]) {
    HFONT font = CreateDialogFont(dialogFont, codePage, weight);
    if (font == nullptr) {
        return false;
    }
    LOGFONTA made;
    GetObjectA(font, sizeof(made), &made);
    HGDIOBJ old = SelectObject(dc, font);
    bool ok = IsMsSansSerif(dc, made.lfCharSet) && MeasureBytes(dc, codePage, widths);
    SelectObject(dc, old);
    DeleteObject(font);
    return ok;
}

void PrintWidths(const char* name, const int widths[256]) {
    printf("     /* %s */ {", name);
    for (int byte = 0; byte < 256; ++byte) {
        printf("%s%d%s", byte % 16 == 0 ? "\n         " : " ", widths[byte], byte < 255 ? "," : "");
    }
    printf("},\n");
}

void PrintHeader(int baseX, int baseY) {
    printf("// The setup dialog's font, measured under Windows by tools/fontwidths in the\n"
           "// dialog made from its template; do not edit (docs/languages.md says how to\n"
           "// measure again). Widths in pixels of bytes 0-255 in 8-point MS Sans Serif.\n\n"
           "// clang-format off\n#include \"FontWidths.h\"\n\n"
           "const DialogFont kDialogFont = {%d, %d, %d, %d};\n\n"
           "const CodePageWidths kCodePageWidths[] = {\n",
           baseX, baseY, GetSystemMetrics(SM_CXSIZE), GetSystemMetrics(SM_CXSMICON));
}

// Makes the font files named on the command line available to this
// process, as installed fonts would be.
bool AddFonts(int count, char** files) {
    for (int i = 0; i < count; ++i) {
        if (AddFontResourceExA(files[i], FR_PRIVATE, nullptr) == 0) {
            fprintf(stderr, "fontwidths: cannot load the font file %s\n", files[i]);
            return false;
        }
    }
    return true;
}

} // namespace

// usage: fontwidths [FONTFILE...]
int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (!AddFonts(argc - 1, argv + 1)) {
        return 1;
    }
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETUP_DIALOG),
                                     nullptr, QuietDialogProc, 0);
    if (dialog == nullptr) {
        fprintf(stderr, "fontwidths: cannot create the setup dialog (%lu)\n", GetLastError());
        return 1;
    }
    RECT units = {0, 0, 4, 8};
    MapDialogRect(dialog, &units);
    LOGFONTA dialogFont;
    GetObjectA((HFONT)SendMessageA(dialog, WM_GETFONT, 0, 0), sizeof(dialogFont), &dialogFont);
    HDC dc = GetDC(dialog);
    PrintHeader(units.right, units.bottom);
    int measured = 0;
    for (unsigned codePage : kCodePages) {
        int regular[256];
        int bold[256];
        if (!MeasureFont(dc, dialogFont, codePage, FW_NORMAL, regular) ||
            !MeasureFont(dc, dialogFont, codePage, FW_BOLD, bold)) {
            fprintf(stderr, "fontwidths: no MS Sans Serif for code page %u: left out\n", codePage);
            continue;
        }
        printf("    {%u,\n", codePage);
        PrintWidths("regular", regular);
        PrintWidths("bold", bold);
        printf("    },\n");
        ++measured;
    }
    printf("};\n\nconst size_t kCodePageWidthCount = %d;\n", measured);
    ReleaseDC(dialog, dc);
    DestroyWindow(dialog);
    return measured > 0 ? 0 : 1;
}
