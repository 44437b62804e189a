#pragma once
// A whole file read into memory at once, for files small enough to hold.

#include <stddef.h>

// The file at `path` in a heap block of its size plus one byte, which the
// caller frees; null when it cannot be read or is larger than `limit`
// bytes, which is checked before anything is read.
char* ReadWholeFile(const char* path, size_t limit, size_t& size);
