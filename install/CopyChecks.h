#pragma once
// The checks around the copy of the product's files: whether the drive has
// space for what it adds, and whether what it wrote is whole.

#include "common/ProductFiles.h"

// The bytes that copying `files` into `installDir` adds to its drive: a
// file already there (installing again) counts only what it grows by.
unsigned long long BytesToWrite(const ProductFiles& files, const char* installDir);

// The free bytes, for this user, of the drive that will hold `path` (which
// need not exist yet). False when the system cannot tell.
bool FreeBytesFor(const char* path, unsigned long long& freeBytes);

// Whether every file of `files` is in `installDir` with at least its size:
// a full drive can leave a copy cut short that the shell reports whole.
bool CopiedInFull(const ProductFiles& files, const char* installDir);
