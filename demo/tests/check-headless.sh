#!/usr/bin/env bash
# The unattended demo from start to end: scripts/demo.sh --headless installs
# from the demo medium (whose Setup.exe is signed) in German, its screenshots exist, differ from each
# other and are not blank, the installation holds the German language
# files, and Wine found its Marlett font. The Wine prefix is removed
# afterwards, the screenshots kept.
#
# usage: check-headless.sh BUILD_DIR WORK_DIR
set -u
build=$1 work=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

start=$(date +%s)
bash "$root/scripts/demo.sh" --headless --no-build --build-dir "$build" --work "$work" \
    --language Deutsch --folder 'C:\Spiele'
status=$?
echo "the demo took $(($(date +%s) - start)) s"
[ $status = 0 ] || fail "scripts/demo.sh --headless ended with status $status"

shots=$work/screenshots
sums=
for name in 1-dialog 2-about 3-browse 4-installed 5-started; do
    shot=$shots/$name.png
    if [ ! -s "$shot" ]; then
        fail "no screenshot $shot"
        continue
    fi
    deviation=$(identify -format '%[fx:standard_deviation]' "$shot" 2>/dev/null)
    awk -v d="${deviation:-0}" 'BEGIN { exit !(d > 0.01) }' ||
        fail "$name.png is blank (standard deviation ${deviation:-unreadable})"
    sums="$sums$(identify -format '%#' "$shot")
"
done
[ "$(printf '%s' "$sums" | sort -u | wc -l)" = "$(printf '%s' "$sums" | wc -l)" ] ||
    fail "two screenshots show the same picture"

installed="$work/prefix/drive_c/Spiele/The Vellmor"
cmp -s "$installed/language.sif" "$build/demo/medium/Languages/Deutsch.sif" ||
    fail "the installation does not hold the German index file"
cmp -s "$installed/language.poo" "$build/demo/medium/Languages/Deutsch.poo" ||
    fail "the installation does not hold the German pool file"
[ -f "$installed/Vellmor.exe" ] || fail "no Vellmor.exe in $installed"
# The title bar buttons are Marlett letters; without the font they read "0 1 r".
grep -q '^"Marlett (TrueType)"=' "$work/prefix/system.reg" ||
    fail "Wine found no Marlett font: the title bar buttons show letters"

# The prefix is large (about 600 MB); the screenshots stay for a look.
rm -rf "$work/prefix"

[ $failures = 0 ] || exit 1
echo "headless demo passed"
