#!/bin/sh
# Runs each step of the product's compiler (GCC's -wrapper). Before the
# assembler, each function's section is marked to be aligned to one byte
# instead of the four that the assembler gives a COFF section by default,
# padding every function to a multiple of four: x86 code needs no
# alignment, and -Oz aligns nothing inside a function. The digit after a
# section's flags is its power-of-two alignment. A member function keeps
# the `.align 2` GCC gives it inside its section (a pointer to a member
# uses the address's lowest bit), which raises that section's alignment.
#
# usage (CMakeLists.txt): -wrapper pack-code.sh,HASH,OBJDUMP
# HASH is this script's own, so that a change to it rebuilds every object;
# OBJDUMP reads the object the assembler made. The step fails, and so the
# build, when the packing did not happen: assembly written to a pipe
# (-pipe), an assembler step without an assembly file to edit, or an
# object with code in a section aligned to more than two bytes (GCC
# spelling a section otherwise). The link checks the functions' addresses
# too (cmake/check-packed-code.sh).
set -eu
objdump=$2
shift 2

# The assembler's step is the one that writes an object file; GCC passes it
# the assembly file last.
output=
input=
previous=
for argument; do
    [ "$previous" = "-o" ] && output=$argument
    previous=$argument
    input=$argument
done
case "$output" in
*.o | *.obj) ;;
-)
    # The compiler writing to a pipe (-pipe): GCC then runs the assembler
    # on its other end without this script.
    echo "pack-code.sh: the assembly goes through a pipe, where it cannot be packed" >&2
    exit 1 ;;
*) exec "$@" ;;
esac
case "$input" in
*.s) ;;
*)
    echo "pack-code.sh: the assembler reads no assembly file ($input): nothing to pack" >&2
    exit 1 ;;
esac
sed -i 's/^\(\t\.section\t\.text[$.][^,]*\),"x"$/\1,"x0"/' "$input"
"$@"
# objdump -h: index, name, size, three addresses, alignment (2**n).
padded=$("$objdump" -h "$output" |
    awk '$2 ~ /^\.text/ && $3 !~ /^0+$/ && $7 != "2**0" && $7 != "2**1" { print $2 }')
if [ -n "$padded" ]; then
    echo "pack-code.sh: $output has code sections it did not pack:" $padded >&2
    rm -f "$output"
    exit 1
fi
