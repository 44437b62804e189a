// The runtime's math-error handler, for the reference programs, which
// start through MinGW's start-up code (Setup.exe has its own entry point).
// That code refers to _matherr, and its library's own one prints the error
// to stderr, which a program without a console does not have: that handler
// and its messages cost a 512-byte block of the file. The references do no
// floating-point math; this one asks for the C runtime's default handling,
// which is what the runtime does anyway unless a debug switch installs the
// handler.

#include <math.h>

extern "C" int __cdecl _matherr(struct _exception*) {
    return 0;
}
