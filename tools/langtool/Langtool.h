#pragma once
// langtool: builds, dumps and checks language tables.
//   langtool build SOURCE -o BASE [--codepage N]
//   langtool dump BASE [--codepage N]
//   langtool check BASE
//
// build: SOURCE (see SourceFormat.h) converted to code page N (default 1252)
//   and written as BASE.sif/BASE.poo. Any error (malformed line, repeated
//   index, a character the code page cannot hold) names file and line and
//   writes nothing. Indexes below the highest that the source leaves out
//   are warned about: they become empty texts, not missing ones.
// dump: the table in the source format on `out`; building the dump gives
//   the same table again.
// check: errors for records outside the pool, of length 0, at offsets of
//   2^31 or more or without a NUL, for bytes after the last index record,
//   for missing catalogue texts and a browse caption over 127 characters;
//   warnings for empty catalogue texts.
// Exit status 0 on success, 1 when the command found errors, 2 on a usage
// error. Results go to `out`, diagnostics to `err`.

#include <stdio.h>

int LangtoolMain(int argc, const char* const* argv, FILE* out, FILE* err);
