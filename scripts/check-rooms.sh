#!/usr/bin/env bash
# The rooms of the product, lowest first: a room includes only itself and
# the rooms below it (res/ only for its identifiers), so no two rooms form a
# loop. install/ takes only the record's writer and the uninstaller's home
# from uninstall/. Prints every include that breaks this and fails when
# there is one. CMake links the rooms' libraries in the same order.
#
# usage: scripts/check-rooms.sh   (from anywhere in the tree)
set -eu
cd "$(dirname "$0")/.."

rooms=(res text platform common uninstall install app ui)
# What install/ may take from uninstall/.
install_takes="uninstall/UninstallRecordWriter.h uninstall/UninstallerHome.h"

declare -A may
below="res"
for room in "${rooms[@]}"; do
    may[$room]="$below $room"
    below="$below $room"
done

bad=0
for room in "${rooms[@]}"; do
    [ -d "$room" ] || continue
    while IFS=: read -r file line header; do
        target=${header%%/*}
        case " ${may[$room]} " in
        *" $target "*) ;;
        *)
            echo "$file:$line: $room/ may not include $header"
            bad=1
            continue
            ;;
        esac
        if [ "$room" = install ] && [ "$target" = uninstall ]; then
            case " $install_takes " in
            *" $header "*) ;;
            *)
                echo "$file:$line: install/ takes only $install_takes from uninstall/, not $header"
                bad=1
                ;;
            esac
        fi
    done < <(grep -Hn -E '^#include "[a-z]+/' "$room"/*.cpp "$room"/*.h "$room"/*.rc 2>/dev/null |
        sed -E 's|^([^:]*):([0-9]+):#include "([^"]*)".*$|\1:\2:\3|')
done
if [ $bad = 0 ]; then
    echo "rooms: every include goes down (${rooms[*]})"
fi
exit $bad
