#!/usr/bin/env bash
# Checks the link map of a program built with cmake/pack-code.sh: its
# functions are packed (some start at an address that is not a multiple of
# four, which the assembler's default four-byte alignment of every
# function's section never gives), and every non-static member function of
# the product's classes starts at an even address (a pointer to a member
# function, as the message tables hold, uses the address's lowest bit to
# mark a virtual one). Fails the link that runs it, and the test.
#
# usage: check-packed-code.sh MAP SOURCE_DIR
set -euo pipefail
map=$1
source=$2
rooms=(app ui install uninstall record common platform text)

# The product's classes, and the names of its static member functions,
# which need no even address.
classes=$(cd "$source" && grep -rhoE '^(class|struct) [A-Za-z_0-9]+' "${rooms[@]}" \
    --include='*.h' --include='*.cpp' 2>/dev/null | awk '{ print $2 }' | sort -u)
statics=$(cd "$source" && grep -rhoE '^ +static [^(=;]*[ *]([A-Za-z_0-9]+)\(' "${rooms[@]}" \
    --include='*.h' --include='*.cpp' 2>/dev/null | sed -E 's/.*[ *]([A-Za-z_0-9]+)\($/\1/' |
    sort -u)

# "address name" of each function the map places in .text.
functions=$(awk '/^\.text / { code = 1; next } /^\.[a-z]/ { code = 0 }
    code && /^ +0x[0-9a-f]+ +[^ ]/ && /\(/ { $1 = $1; print }' "$map")

read -r total packed members odd <<<"$(awk -v classes="$classes" -v statics="$statics" '
    BEGIN {
        n = split(classes, c, "\n"); for (i = 1; i <= n; ++i) class[c[i]] = 1
        n = split(statics, s, "\n"); for (i = 1; i <= n; ++i) static[s[i]] = 1
    }
    {
        # The last hex digit holds the two lowest bits.
        address = index("0123456789abcdef", substr($1, length($1), 1)) - 1
        ++total
        if (address % 4 != 0) ++packed
        name = substr($0, index($0, " ") + 1)
        name = substr(name, 1, index(name, "(") - 1)
        parts = split(name, part, "::")
        if (parts >= 2 && (part[parts - 1] in class) && !(part[parts] in static)) {
            ++members
            if (address % 2 != 0) {
                print "check-packed-code: " name " starts at an odd address" > "/dev/stderr"
                ++odd
            }
        }
    }
    END { print total + 0, packed + 0, members + 0, odd + 0 }' <<<"$functions")"

status=0
if [ -z "$odd" ]; then
    echo "check-packed-code: cannot read $map"
    exit 1
fi
if [ "$total" -eq 0 ] || [ "$packed" -eq 0 ]; then
    echo "check-packed-code: none of the $total functions in $map is packed: cmake/pack-code.sh edited nothing"
    status=1
fi
if [ "$members" -eq 0 ] || [ "$odd" -gt 0 ]; then
    echo "check-packed-code: $odd of $members member functions start at an odd address"
    status=1
fi
[ $status -ne 0 ] ||
    echo "check-packed-code: $packed of $total functions packed; $members member functions at even addresses"
exit $status
