#pragma once
// Characters of the system's ANSI code page. In a double-byte code page
// (932, 936, 949, 950) a lead byte and the byte after it are one character,
// and that second byte may be a backslash or an ASCII letter: whatever looks
// for a separator in a path, cuts a text or folds its case steps by
// character, never by byte. C runtime only: the program sets the system's
// rules once at start (platform/CodePage.h); until then, and natively unless
// a test sets a code page's, every byte is a character of its own.

#include <stddef.h>

// Whether `c` begins a character of two bytes.
bool IsLeadByte(char c);

// The character after the one at `at` (not at the NUL). A lead byte before
// the NUL is a character of its own.
const char* NextChar(const char* at);

// The length of `text[0, length)` without a last lead byte that begins a
// character: where a text cut to `length` bytes may end.
size_t WholeCharsLength(const char* text, size_t length);

// Whether `offset` is where a character of `text` begins (or its end).
inline bool StartsChar(const char* text, size_t offset) {
    return WholeCharsLength(text, offset) == offset;
}

// The first character `c` (ASCII) in `text[0, length)`; null when none.
const char* FindChar(const char* text, size_t length, char c);

// The last character `c` (ASCII) in the NUL-terminated `text`; null when none.
const char* FindLastChar(const char* text, char c);

// Whether the last character of `text[0, length)` is `c` (ASCII).
bool EndsWithChar(const char* text, size_t length, char c);

// Whether `a[0, length)` and `b[0, length)`, whole characters each, are the
// same text in any case, as the file system compares names. The portable
// rule folds the ASCII letters of single-byte characters and takes every
// other character as it is; on Windows the program sets the system's.
typedef bool (*SameTextRule)(const char* a, const char* b, size_t length);
bool IsSameText(const char* a, const char* b, size_t length);

// Sets the code page's rules: its lead bytes from ranges as GetCPInfo gives
// them (pairs of first and last byte, ended by a pair of zeros; null or an
// empty list: a single-byte code page), and the rule that compares names in
// any case (null: the portable rule).
void SetCodePage(const unsigned char* leadRanges, SameTextRule sameText);

// The portable rule itself, for a system rule's fallback.
bool IsSameAsciiFolded(const char* a, const char* b, size_t length);
