#pragma once
// Where the language table's reader gets its files: opened for reading in
// binary. The one definition (TableFile.cpp) is fopen; it sits in its own
// file so that the fuzz target (tests/fuzz) links its own definition in its
// place and feeds the reader from memory rather than from two files.

#include <stdio.h>

// The file at `path` opened for reading, or null.
FILE* OpenTableFile(const char* path);
