#!/usr/bin/env bash
# Measures the setup dialog's font under Wine and writes langtool's data
# file. Needs the cross build (build/tools/fontwidths/fontwidths.exe). Wine
# installs only the MS Sans Serif of its own code page, so the bitmap fonts
# of the other code pages are handed to the program from Wine's font folder.
#
# usage: tools/fontwidths/measure.sh [BUILD_DIR] > tools/langtool/FontWidths.cpp
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
exe=$(realpath "${1:-$root/build}")/tools/fontwidths/fontwidths.exe
[ -f "$exe" ] || { echo "measure.sh: no $exe: run the cross build first" >&2; exit 1; }
fonts=${WINE_FONTS:-/usr/share/wine/fonts}
# sserife*.fon: MS Sans Serif at 96 dpi for 1252, 1250, 1253, 1251, 1254;
# ssee874.fon, ssee1255.fon, ssee1256.fon, ssee1257.fon for Thai, Hebrew,
# Arabic and Baltic.
files=("$fonts"/sserife*.fon "$fonts"/ssee874.fon "$fonts"/ssee1255.fon "$fonts"/ssee1256.fon
    "$fonts"/ssee1257.fon)
[ -f "${files[0]}" ] || { echo "measure.sh: no sserife*.fon in $fonts (set WINE_FONTS)" >&2; exit 1; }

prefix=$(mktemp -d)/prefix
trap 'rm -rf "$(dirname "$prefix")"' EXIT
bash "$root/scripts/make-prefix.sh" "$prefix"
. "$root/scripts/wine-env.sh"
export WINEPREFIX=$prefix
bash "$root/scripts/with-display.sh" wine "$exe" "${files[@]/#/Z:}"
wineserver -k 2>/dev/null || true
