#!/bin/sh
# Runs each step of the product's compiler (GCC's -wrapper). Before the
# assembler, each function's section is marked to be aligned to one byte
# instead of the four that the assembler gives a COFF section by default,
# padding every function to a multiple of four: x86 code needs no
# alignment, and -Oz aligns nothing inside a function. The digit after a
# section's flags is its power-of-two alignment. GCC passes the assembly
# file last.
set -eu
case "$1" in
*-as)
    for source; do :; done
    sed -i 's/^\(\t\.section\t\.text\$[^,]*\),"x"$/\1,"x0"/' "$source" ;;
esac
exec "$@"
