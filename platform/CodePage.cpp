#include "platform/CodePage.h"

#include <windows.h>

#include <string.h>

#include "platform/ProcAddress.h"
#include "text/CodePage.h"
#include "text/Format.h"

namespace {

typedef int(WINAPI* CompareStringOrdinalProc)(LPCWSTR a, int lengthA, LPCWSTR b, int lengthB,
                                              BOOL ignoreCase);

CompareStringOrdinalProc g_compareOrdinal;

const int kFormSize = text::kPathBufferSize;

// `text[0, length)` as the comparison takes it, into `form`: from Vista on
// its wide form for the file system's own comparison of names (its table of
// capitals, without the user's language), before it the text in the
// system's capitals. Its length; 0 when a broken character keeps it from
// converting.
int ComparableForm(const char* text, int length, WCHAR (&form)[kFormSize]) {
    if (g_compareOrdinal)
        return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, length, form, kFormSize);
    memcpy(form, text, length);
    return (int)CharUpperBuffA((char*)form, length);
}

// Whole characters only, as every caller gives them.
bool IsSameSystemText(const char* a, const char* b, size_t length) {
    if (length == 0 || length >= kFormSize)
        return IsSameAsciiFolded(a, b, length);
    WCHAR formA[kFormSize], formB[kFormSize];
    int lengthA = ComparableForm(a, (int)length, formA);
    int lengthB = ComparableForm(b, (int)length, formB);
    if (!g_compareOrdinal)
        return memcmp(formA, formB, length) == 0;
    return lengthA > 0 && lengthB > 0 &&
           g_compareOrdinal(formA, lengthA, formB, lengthB, TRUE) == CSTR_EQUAL;
}

} // namespace

void UseSystemCodePage() {
    CPINFO info;
    g_compareOrdinal = KernelProc<CompareStringOrdinalProc>("CompareStringOrdinal");
    SetCodePage(GetCPInfo(CP_ACP, &info) ? info.LeadByte : nullptr, IsSameSystemText);
}
