#!/usr/bin/env bash
# Makes the template Wine prefix of the end-to-end tests, once per build
# folder; parallel callers wait for the first one. The runner copies it for
# every test.
#
# usage: make-template.sh [--windows VERSION] TEMPLATE_DIR
#
# TEMPLATE_DIR/prefix        a 32-bit prefix (scripts/make-prefix.sh); with
#                            --windows, one in which Wine reports that
#                            Windows version (winecfg -v: win95, nt40, winxp,
#                            win10, ...): one template folder per version
# TEMPLATE_DIR/drives/d..f   the folders of the CD-ROM drives D:, E:, F:,
#                            absent while the drive holds no disc
# TEMPLATE_DIR/drives/g      the folder of the fixed disk G:
# TEMPLATE_DIR/scratch       files shared with Linux-side checks
#
# The drive links are relative (dosdevices/d: -> ../../drives/d), so a copy
# of the whole folder has its drives inside the copy.
set -eu
windows=()
if [ "${1:-}" = "--windows" ]; then
    windows=(--windows "${2:?--windows needs a version}")
    shift 2
fi
template=$(realpath -m "$1")
here=$(cd "$(dirname "$0")" && pwd)
scripts=$(cd "$here/../../scripts" && pwd)
. "$scripts/wine-env.sh"

# A changed script, another version or another Wine makes a new template.
stamp=$( (cat "$0" "$scripts/make-prefix.sh"; echo "${windows[*]}"; wine --version) |
    md5sum | cut -d' ' -f1)

mkdir -p "$(dirname "$template")"
exec 9>"$template.lock"
flock 9
if [ -f "$template/ready" ] && [ "$(cat "$template/ready")" = "$stamp" ]; then
    exit 0
fi

work=$template.new
rm -rf "$work" "$template"
mkdir -p "$work/drives/g" "$work/scratch"
"$scripts/make-prefix.sh" "${windows[@]}" "$work/prefix" \
    d=cdrom:../../drives/d e=cdrom:../../drives/e f=cdrom:../../drives/f g=hd:../../drives/g
export WINEPREFIX=$work/prefix

# Without a window manager (Xvfb) Wine waits up to two seconds for one
# whenever a window closes; unmanaged windows close at once.
cat >>"$WINEPREFIX/user.reg" <<'REG'

[Software\\Wine\\X11 Driver]
"Managed"="N"
REG

# Most of the prefix is copies of Wine's own libraries. Links to them make
# the per-test copy about a tenth of the size; nothing writes to them.
builtin=$(dirname "$(readlink -f "$(command -v wine)")")/../lib/i386-linux-gnu/wine/i386-windows
[ -d "$builtin" ] || builtin=/usr/lib/i386-linux-gnu/wine/i386-windows
if [ -d "$builtin" ]; then
    find "$WINEPREFIX/drive_c" -type f \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' \
        -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.acm' -o -iname '*.sys' \) -print0 |
        while IFS= read -r -d '' file; do
            original=$builtin/$(basename "$file")
            if [ -f "$original" ] && cmp -s "$file" "$original"; then
                ln -sf "$original" "$file"
            fi
        done
fi

echo "$stamp" >"$work/ready"
mv "$work" "$template"
