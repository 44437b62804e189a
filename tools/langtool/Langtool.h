#pragma once
// langtool: builds, dumps and checks language tables.
//   langtool build SOURCE -o BASE [--codepage N]
//   langtool dump BASE [--codepage N]
//   langtool check BASE
// Exit status 0 on success, 1 when the command found errors, 2 on a usage
// error. Results go to `out`, diagnostics to `err`.

#include <stdio.h>

int LangtoolMain(int argc, const char* const* argv, FILE* out, FILE* err);
