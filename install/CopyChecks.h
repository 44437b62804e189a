#pragma once
// The checks around the copy of the product's files: whether the drive has
// space for what it adds, and whether what it wrote is whole.

#include "common/ProductFiles.h"

// The bytes of every file of `files`: a whole new copy, made while an
// earlier installation still stands.
unsigned long long BytesToWrite(const ProductFiles& files);

// The free bytes, for this user, of the drive that will hold `path` (which
// need not exist yet). False when the system cannot tell.
bool FreeBytesFor(const char* path, unsigned long long& freeBytes);

// Whether every file of `files` (sorted by path) is in `copy` with at least
// its size: a full drive can leave a copy cut short that the shell reports
// whole. The same walk clears the read-only attribute that copies from a
// disc keep, of `copy` itself and everything below it: a folder of setup's
// own, which no one else can write to, so its paths are safe to use.
bool CopiedInFullAndWritable(const ProductFiles& files, const char* copy);
