#include "text/CodePage.h"

#include <string.h>

namespace {

bool g_leadBytes[256];
SameTextRule g_sameText; // null: the portable rule

} // namespace

void SetCodePage(const unsigned char* ranges, SameTextRule sameText) {
    memset(g_leadBytes, 0, sizeof g_leadBytes);
    for (; ranges && ranges[0]; ranges += 2) {
        for (unsigned byte = ranges[0]; byte <= ranges[1]; ++byte)
            g_leadBytes[byte] = true;
    }
    g_sameText = sameText;
}

bool IsLeadByte(char c) {
    return g_leadBytes[(unsigned char)c];
}

const char* NextChar(const char* at) {
    return at + (IsLeadByte(at[0]) && at[1] ? 2 : 1);
}

size_t WholeCharsLength(const char* text, size_t length) {
    size_t at = 0;
    while (at < length)
        at += IsLeadByte(text[at]) ? 2 : 1;
    return at > length ? length - 1 : length;
}

const char* FindChar(const char* text, size_t length, char c) {
    for (size_t at = 0; at < length; at += IsLeadByte(text[at]) ? 2 : 1) {
        if (text[at] == c)
            return text + at;
    }
    return nullptr;
}

const char* FindLastChar(const char* text, char c) {
    const char* last = nullptr;
    for (const char* at = text; *at; at = NextChar(at)) {
        if (*at == c)
            last = at;
    }
    return last;
}

bool EndsWithChar(const char* text, size_t length, char c) {
    return length > 0 && text[length - 1] == c && StartsChar(text, length - 1);
}

bool IsSameText(const char* a, const char* b, size_t length) {
    if (g_sameText)
        return g_sameText(a, b, length);
    return IsSameAsciiFolded(a, b, length);
}

bool IsSameAsciiFolded(const char* a, const char* b, size_t length) {
    // A second byte is compared as it is, whatever it looks like; folding
    // leaves a lead byte as it is.
    bool second = false;
    for (size_t at = 0; at < length; ++at) {
        char x = a[at], y = b[at];
        // Different bytes are the same only as the same letter in two cases.
        if (x != y && (second || (x ^ y) != 0x20 || (unsigned char)((x | 0x20) - 'a') > 25))
            return false;
        second = !second && IsLeadByte(x);
    }
    return true;
}
