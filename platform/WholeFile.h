#pragma once
// Whole files read into memory and written at once, for files small enough
// to hold (CFile does the work).

#include <stddef.h>

#include "text/HeapBlock.h"

// The file at `path` in a heap block of its size plus a terminating NUL;
// none when it cannot be read or is larger than `limit` bytes, with `size`
// as CFile::ReadWhole leaves it.
CHeapBlock<char> ReadWholeFile(const char* path, size_t limit, size_t& size);

// Writes `size` bytes to a new file `path`, in place of any file of that
// name; false unless every byte was written and the file closed. A failed
// write may leave a file cut short: write beside, and move it in place when
// it is whole, where the old file must not be lost.
bool WriteWholeFile(const char* path, const void* data, size_t size);
