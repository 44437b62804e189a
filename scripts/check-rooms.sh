#!/usr/bin/env bash
# The rooms of the product, lowest first: a room includes only itself and
# the rooms of the levels below it (res/ only for its identifiers); rooms of
# one level are siblings and take nothing from each other. Prints every
# include that breaks this and fails when there is one.
#
# Given a build folder, it also reads the symbols of each room's libraries
# (<build>/<room>/lib*.a): a library that needs a symbol which only a room
# above it or beside it defines would make a loop at link time, which an
# include check cannot see (a declaration written out by hand, a message
# table that names another room's function). CMake links the rooms'
# libraries in the same order.
#
# usage: scripts/check-rooms.sh [BUILD_DIR [NM]]   (from anywhere in the tree)
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build=${1:-}
nm=${2:-}
cd "$root"

levels=(res text platform common record "install uninstall" ui app)

declare -A may level_of
below="res"
for i in "${!levels[@]}"; do
    for room in ${levels[$i]}; do
        may[$room]="$below $room"
        level_of[$room]=$i
    done
    below="$below ${levels[$i]}"
done
rooms=$(echo "${levels[@]}")

bad=0
for room in $rooms; do
    [ -d "$room" ] || continue
    while IFS=: read -r file line header; do
        target=${header%%/*}
        case " ${may[$room]} " in
        *" $target "*) ;;
        *)
            echo "$file:$line: $room/ may not include $header"
            bad=1
            ;;
        esac
    done < <(grep -Hn -E '^#include "[a-z]+/' "$room"/*.cpp "$room"/*.h "$room"/*.rc 2>/dev/null |
        sed -E 's|^([^:]*):([0-9]+):#include "([^"]*)".*$|\1:\2:\3|')
done

if [ -n "$build" ]; then
    if [ -z "$nm" ]; then
        nm=$(command -v i686-w64-mingw32-nm || command -v nm)
    fi
    symbols=$(mktemp)
    trap 'rm -f "$symbols"' EXIT
    # "<room> D|U <symbol>" for every library of every room that was built.
    for room in $rooms; do
        for library in "$build/$room"/lib*.a; do
            [ -f "$library" ] || continue
            "$nm" -g --defined-only "$library" 2>/dev/null |
                awk -v room="$room" 'NF >= 3 { print room, "D", $3 }'
            "$nm" -u "$library" 2>/dev/null | awk -v room="$room" 'NF >= 2 { print room, "U", $2 }'
        done
    done | sort -u >"$symbols"
    if [ ! -s "$symbols" ]; then
        echo "rooms: no libraries in $build to read symbols from"
        exit 1
    fi
    levels_list=$(for room in $rooms; do echo "$room ${level_of[$room]}"; done)
    # A needed symbol is fine when the room itself or a room of a lower level
    # defines it (inline functions and tables may be defined in several);
    # wrong when only rooms of the same or a higher level do.
    while read -r room symbol owners; do
        echo "$room/ needs $symbol, defined only above or beside it in $owners/"
        bad=1
    done < <(awk -v levels="$levels_list" '
        BEGIN {
            n = split(levels, parts, /[ \n]/)
            for (i = 1; i < n; i += 2) level[parts[i]] = parts[i + 1]
        }
        $2 == "D" { defined[$3] = defined[$3] " " $1 }
        $2 == "U" { needed[$1 " " $3] = 1 }
        END {
            for (key in needed) {
                split(key, k, " "); room = k[1]; symbol = k[2]
                if (!(symbol in defined)) continue
                ok = 0; owners = ""
                m = split(defined[symbol], by, " ")
                for (j = 1; j <= m; ++j) {
                    if (by[j] == room || level[by[j]] < level[room]) ok = 1
                    else owners = owners (owners == "" ? "" : ",") by[j]
                }
                if (!ok) print room, symbol, owners
            }
        }' "$symbols" | sort)
fi

if [ $bad = 0 ]; then
    echo "rooms: every include${build:+ and every needed symbol} goes down (${levels[*]})"
fi
exit $bad
