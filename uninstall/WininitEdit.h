#pragma once
// The edit that asks Windows 95 and 98 to delete a file at their next
// start: a line "NUL=<path>" at the top of WININIT.INI's [rename] section.
// Plain C runtime, so that it builds and is tested natively.

#include <stddef.h>

#include "common/PathRules.h"

// WININIT.INI holds a few lines; a larger one is left as it is.
inline constexpr size_t kLargestWininit = 1u << 20;

// How many bytes the edit adds at most: the line, and a section header with
// a line end before it when the file has none.
inline constexpr size_t kWininitGrowth = text::kPathBufferSize + 32;

// Writes into `edited` (of `capacity` bytes) the text `old[0, size)` of
// WININIT.INI (null: no file yet) with "NUL=<path>\r\n" right below its
// [rename] header (matched as a whole line, in any case, blanks allowed
// around it), or below a new "[rename]" line at the end when the file has
// none. Every other byte is kept, NULs and line ends of any kind included.
// Returns the edited text's size, or 0 when `old` is larger than
// kLargestWininit or the result would not fit `capacity`: nothing is then
// to be written.
size_t AddDeletionToWininit(const char* old, size_t size, const char* path, char* edited,
                            size_t capacity);
