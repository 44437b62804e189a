#!/usr/bin/env bash
# Makes a fresh 32-bit Wine prefix whose drives are exactly C:, Z: and the
# ones named here, each a link to a folder with its type (a CD-ROM drive, a
# fixed disk). Used by the end-to-end tests' template and by the demo.
#
# usage: scripts/make-prefix.sh [--windows VERSION] PREFIX LETTER=TYPE:FOLDER...
#
#   --windows VERSION   the Windows version Wine reports (winecfg -v: win95,
#                       win98, nt40, win2k, winxp, win7, win10, ...); without
#                       it, Wine's default
#   LETTER=TYPE:FOLDER  drive LETTER: is FOLDER (a link; a relative FOLDER is
#                       relative to PREFIX/dosdevices, and may not exist yet:
#                       a drive without a folder has no disc), of TYPE cdrom
#                       or hd
#
# Wine's fonts are taken from WINE_FONTS (default /usr/share/wine/fonts).
# PREFIX must not exist. The prefix's server is not running at the end, so
# that a caller may still add registry settings to its .reg files.
set -eu
version=
if [ "${1:-}" = "--windows" ]; then
    version=${2:?--windows needs a version}
    shift 2
fi
prefix=${1:?usage: make-prefix.sh [--windows VERSION] PREFIX LETTER=TYPE:FOLDER...}
shift
[ ! -e "$prefix" ] || { echo "make-prefix.sh: $prefix exists" >&2; exit 1; }
. "$(dirname "$0")/wine-env.sh"
export WINEPREFIX=$prefix

mkdir -p "$(dirname "$prefix")"
wineboot -i >/dev/null 2>&1
if [ -n "$version" ]; then
    wine winecfg -v "$version" >/dev/null 2>&1
fi
wineserver -w

# Drives the machine happens to have must not take part; Z: stays (it is how
# programs in the prefix reach the rest of the machine).
for link in "$prefix"/dosdevices/*; do
    case $(basename "$link") in
        c: | z:) ;;
        *) rm -f "$link" ;;
    esac
done
types=
for drive in "$@"; do
    letter=${drive%%=*} rest=${drive#*=}
    type=${rest%%:*} folder=${rest#*:}
    case $letter$type in
        [a-y]cdrom | [a-y]hd) ;;
        *) echo "make-prefix.sh: not a drive: $drive (LETTER=cdrom|hd:FOLDER)" >&2; exit 2 ;;
    esac
    ln -s "$folder" "$prefix/dosdevices/$letter:"
    types="$types\"$letter:\"=\"$type\"
"
done

# Drive types are read when the prefix's server starts; it is not running.
printf '\n[Software\\\\Wine\\\\Drives]\n%s' "$types" >>"$prefix/system.reg"

# Wine's own fonts, Marlett among them (it draws the title bar buttons): this
# Wine looks for them in "<data folder>\../fonts", which it cannot open and
# which is not where fonts-wine puts them, so the prefix names their folder.
fonts=${WINE_FONTS:-/usr/share/wine/fonts}
if [ -d "$fonts" ]; then
    printf '\n[Software\\\\Wine\\\\Fonts]\n"Path"="Z:%s"\n' \
        "$(realpath "$fonts" | sed 's|/|\\\\|g')" >>"$prefix/user.reg"
fi
