#!/usr/bin/env bash
# Shows a translation as a player meets it, without Windows: builds the
# language's table, lays out a medium with that one language (mkmedium, the
# demo's game stand-ins) and runs setup from it under Wine on a private
# display (scripts/demo.sh --preview), saving a picture of each kind of
# window its texts appear in:
#
#   N-dialog.png     the setup dialog in the language, a folder typed
#   N-browse.png     the folder picker
#   N-failure.png    a failure message (a relative folder was typed)
#   N-space.png      the space question (a drive without space: as root only)
#   N-installed.png  the completion message
#   N-run-game.png   the question of setup started again, which finds the
#                    game installed (answered No, then Exit)
#   N-uninstall.png  the uninstaller's question (answered No)
#
# Wine runs as a Windows of the language's ANSI code page: under a Unix
# locale that Wine maps to it (el_GR for 1253, ...), made with localedef in
# BUILD_DIR/locales when the machine lacks it. An untranslated or fuzzy text
# shows in English; langtool's warnings (a text wider than its control) are
# printed first. Every text of the language in those windows (the dialog's
# title, labels and buttons, the folder picker's caption and line, each
# message) must read as the language's table gives it, decoded in its code
# page, and every character must have a glyph in the fonts Wine can use
# (scripts/check-glyphs.sh), else the run fails, once every picture is
# taken, with the first error last: a table shown in another code page is
# garbage, and a character without a glyph a box.
#
# usage: scripts/preview-language.sh LANG.po [-o DIR] [--build-dir DIR] [--no-build]
#                                    [--system-codepage N]
#
#   -o DIR           where the medium, the prefix and the pictures go
#                    (default BUILD_DIR/preview/LANG); the pictures are in
#                    DIR/screenshots, what it did in DIR/preview.log; the
#                    prefix is removed at the end
#   --build-dir DIR  the cross build folder (default build)
#   --no-build       use the build as it is (packages and build skipped)
#   --system-codepage N
#                    run Wine as a Windows of code page N instead, to see
#                    what a player of another system sees (the check fails
#                    where that differs)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
me=preview-language
die() {
    echo "$me: $*" >&2
    exit 1
}
usage() {
    sed -n '/^# usage:/,/^#  *where that differs)/p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

source= out= build=$root/build build_steps=1 system_codepage=
while [ $# -gt 0 ]; do
    case $1 in
        -o) out=$(realpath -m "${2:?}"); shift 2 ;;
        --build-dir) build=$(realpath -m "${2:?}"); shift 2 ;;
        --no-build) build_steps=0; shift ;;
        --system-codepage) system_codepage=${2:?}; shift 2 ;;
        -*) usage ;;
        *)
            [ -z "$source" ] || usage
            source=$1
            shift
            ;;
    esac
done
[ -n "$source" ] || usage
[ -f "$source" ] || die "no language file $source"
name=$(basename "$source")
name=${name%.[Pp][Oo]}
[ "$name" != "$(basename "$source")" ] || die "$source is not a PO file (NAME.po)"
out=${out:-$build/preview/$name}

if [ $build_steps = 1 ]; then
    bash "$root/scripts/install-packages.sh"
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    # Setup.exe, the demo's stand-ins and driver, and langtool for this machine.
    cmake --build "$build" -j2 --target demo_medium >"$build/preview-build.log" 2>&1 ||
        { tail -n 40 "$build/preview-build.log" >&2; die "the build failed (log: $build/preview-build.log)"; }
fi
for built in app/Setup.exe demo/bin/glide/Glide2x.dll demo/product/Vellmor.exe \
    host-tools/tools/langtool/langtool; do
    [ -e "$build/$built" ] || die "no $build/$built: build first (without --no-build)"
done

# The medium: the demo's game with this one language, incomplete or not.
# When the language does not build, langtool's first error is said last.
mkdir -p "$out"
set -o pipefail
bash "$root/tools/mkmedium/mkmedium.sh" --product "$build/demo/product" \
    --setup "$build/app/Setup.exe" --glide "$build/demo/bin/glide/Glide2x.dll" \
    --langtool "$build/host-tools/tools/langtool/langtool" --language "$source" \
    --allow-incomplete --no-autorun "$out/medium" 2>&1 | sed "s/^/$me: /" | tee "$out/medium.log" ||
    die "$name did not build; the first error: $(grep -m 1 -e 'error:' -e 'mkmedium.sh: ' "$out/medium.log" |
        sed "s/^$me: //")"
set +o pipefail
codepage=$(sed -n "s|.*Languages/$name.sif, .poo.* (code page \([0-9]*\) .*|\1|p" "$out/medium.log")
[ -n "$codepage" ] || die "mkmedium did not say the code page of $name"

# Characters Wine would draw as boxes fail the preview, after its pictures.
glyphs=
bash "$root/scripts/check-glyphs.sh" "$source" 2>"$out/glyphs.log" || glyphs=$(cat "$out/glyphs.log")

# A Unix locale of each Windows ANSI code page, whose language and country
# Wine maps to it.
case ${system_codepage:-$codepage} in
    874) locale=th_TH ;; 932) locale=ja_JP ;; 936) locale=zh_CN ;; 949) locale=ko_KR ;;
    950) locale=zh_TW ;; 1250) locale=pl_PL ;; 1251) locale=ru_RU ;; 1252) locale=en_US ;;
    1253) locale=el_GR ;; 1254) locale=tr_TR ;; 1255) locale=he_IL ;; 1256) locale=ar_EG ;;
    1257) locale=lt_LT ;; 1258) locale=vi_VN ;;
    *) die "no Windows ANSI code page ${system_codepage:-$codepage}" ;;
esac
if ! locale -a 2>/dev/null | grep -qix "$locale.utf-\{0,1\}8"; then
    # Made once, beside the build, where no root is needed.
    export LOCPATH=$build/locales
    if [ ! -d "$LOCPATH/$locale.UTF-8" ]; then
        mkdir -p "$LOCPATH"
        localedef -i "$locale" -f UTF-8 "$LOCPATH/$locale.UTF-8" 2>"$out/localedef.log" ||
            [ -d "$LOCPATH/$locale.UTF-8" ] || die "cannot make the locale $locale.UTF-8 (log: $out/localedef.log)"
    fi
fi
echo "$me: Wine runs as a Windows of code page ${system_codepage:-$codepage} (locale $locale.UTF-8)"

set +e
LC_ALL=$locale.UTF-8 bash "$root/scripts/demo.sh" --preview --no-build --build-dir "$build" \
    --medium "$out/medium" --work "$out" --language "$name" --codepage "$codepage" 2>&1 |
    tee "$out/preview.log"
status=${PIPESTATUS[0]}
set -e
rm -rf "$out/prefix" # about 600 MB; the pictures stay
first_error=$(grep -m 1 -e 'CHECK FAILED: ' -e 'FAILED: ' "$out/preview.log" | sed 's/^.*FAILED: //')
if [ $status != 0 ] || [ -n "$glyphs" ]; then
    echo "$me: pictures so far: $out/screenshots" >&2
    [ -z "$glyphs" ] || echo "$glyphs" >&2
    [ $status = 0 ] || die "the preview failed (status $status); the first error: ${first_error:-above}"
    exit 1
fi

# Each picture the walk asked for was taken and holds something.
missing=
pictures=(dialog browse failure installed run-game uninstall)
grep -q 'no drive without space' "$out/preview.log" || pictures+=(space)
for picture in "${pictures[@]}"; do
    shot=$(ls "$out/screenshots/"*-"$picture.png" 2>/dev/null | head -n 1)
    [ -n "$shot" ] && [ -s "$shot" ] || missing="$missing $picture"
done
[ -z "$missing" ] || die "pictures missing:$missing (in $out/screenshots)"
echo "$me: pictures of $name in $out/screenshots:"
ls -1 "$out/screenshots" | sed "s/^/$me:   /"
