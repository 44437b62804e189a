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

// `text[0, length)` as the comparison takes it, into `form`, and its
// length: from Vista on its wide form for the file system's own comparison
// of names (its table of capitals, without the user's language), converted
// as the system converts an ANSI path (a broken character becomes its
// default character); before Vista the text in the system's capitals.
int ComparableForm(const char* text, int length, WCHAR (&form)[kFormSize]) {
    if (g_compareOrdinal)
        return MultiByteToWideChar(CP_ACP, 0, text, length, form, kFormSize);
    memcpy(form, text, length);
    return (int)CharUpperBuffA((char*)form, length);
}

// Whole characters only, as every caller gives them; no more than fit a
// path, so that each converts whole.
bool IsSameSystemText(const char* a, const char* b, size_t length) {
    if (length == 0 || length >= kFormSize)
        return IsSameAsciiFolded(a, b, length);
    WCHAR formA[kFormSize], formB[kFormSize];
    int lengthA = ComparableForm(a, (int)length, formA);
    int lengthB = ComparableForm(b, (int)length, formB);
    if (!g_compareOrdinal)
        return memcmp(formA, formB, length) == 0;
    return g_compareOrdinal(formA, lengthA, formB, lengthB, TRUE) == CSTR_EQUAL;
}

} // namespace

void UseSystemCodePage() {
    CPINFO info;
    g_compareOrdinal = KernelProc<CompareStringOrdinalProc>("CompareStringOrdinal");
    SetCodePage(GetCPInfo(CP_ACP, &info) ? info.LeadByte : nullptr, IsSameSystemText);
}
