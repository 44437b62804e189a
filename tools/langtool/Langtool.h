#pragma once
// langtool: builds, dumps and checks language tables, and keeps a
// language's source in step with the English master.
//   langtool build SOURCE -o BASE [--codepage N]
//   langtool dump BASE [--codepage N]
//   langtool check BASE [--codepage N]
//   langtool codepage SOURCE
//   langtool status --master MASTER SOURCE...
//   langtool update --master MASTER SOURCE
// BASE may end in .sif or .poo. The code page of a source is its line
// "# codepage: N" (SourceFormat.h), else --codepage, else 1252; build and
// check apply the catalogue's rules alike (Catalogue.h). docs/languages.md
// describes each command.
// Exit status 0 on success, 1 when the command found errors (or, for
// status, a language that needs work), 2 on a usage error. Results go to
// `out`, diagnostics to `err`.

#include <stdio.h>

int LangtoolMain(int argc, const char* const* argv, FILE* out, FILE* err);
