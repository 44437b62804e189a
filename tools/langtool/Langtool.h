#pragma once
// langtool: builds and checks language tables from translators' PO files,
// writes the template they start from, and turns a table back into PO.
//   langtool build LANG.po -o BASE [--release]
//   langtool check LANG.po [--release]
//   langtool check BASE [--codepage N]
//   langtool dump BASE [--codepage N]
//   langtool pot
//   langtool catalogue
// BASE may end in .sif or .poo. The code page of a PO file comes from its
// header (Build.cpp); build and check apply the catalogue's rules alike
// (Catalogue.h). docs/languages.md describes each command.
// Exit status 0 on success (and for --help), 1 when the command found
// errors, 2 on a usage error. Results go to `out`, diagnostics to `err`.

#include <stdio.h>

int LangtoolMain(int argc, const char* const* argv, FILE* out, FILE* err);
