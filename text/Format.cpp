#include "text/Format.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "text/CodePage.h"

bool FormatTextV(char* buffer, size_t size, const char* format, va_list args) {
    if (size == 0)
        return false;
#ifdef _WIN32
    // _vsnprintf leaves the buffer unterminated and answers -1 when the text
    // fills it exactly or more.
    int length = _vsnprintf(buffer, size, format, args);
    buffer[size - 1] = '\0';
#else
    int length = vsnprintf(buffer, size, format, args);
    if (length < 0)
        return false;
#endif
    if (length >= 0 && (size_t)length < size)
        return true;
    // A text cut to fit ends before the character that the cut splits.
    buffer[WholeCharsLength(buffer, size - 1)] = '\0';
    return false;
}

bool FormatText(char* buffer, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    bool fits = FormatTextV(buffer, size, format, args);
    va_end(args);
    return fits;
}

bool FormatPathIn(char* buffer, size_t size, const char* folder, const char* name) {
    return FormatText(buffer, size, "%s\\%s", folder, name);
}

bool CopyText(char* buffer, size_t size, const char* text) {
    return FormatText(buffer, size, "%s", text);
}

ErrorNumber::ErrorNumber(unsigned long error) {
    FormatText(m_text, sizeof m_text, "%lu", error);
}
