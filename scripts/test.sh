#!/usr/bin/env bash
# Runs every test: builds Setup.exe and the Windows tests with the cross
# compiler and runs them under Wine (with a display, Xvfb if there is none),
# previews one demo language and a Japanese one (scripts/preview-language.sh)
# and checks that the preview fails on a language shown in another code
# page and on characters without a glyph, then the
# portable code natively with sanitizers and a short fuzz run, then
# (in a git checkout) builds the commit twice to check that it is
# reproducible.
#
# usage: scripts/test.sh        (as root on Debian; installs what is missing)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-packages.sh

echo "== cross build"
cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"

echo "== Windows tests under Wine"
(cd build && bash "$root/scripts/with-display.sh" ctest --output-on-failure -j2 --timeout 600)

echo "== a language's preview (the demo's Deutsch)"
bash scripts/preview-language.sh demo/languages/Deutsch.po --no-build -o build/preview/Deutsch
# Greek shown by a Western system is garbage: the preview's check must fail
# on it, from the dialog's title on, and still take every picture.
if bash scripts/preview-language.sh tests/languages/Ellinika.po --no-build --system-codepage 1252 \
    -o build/preview/Ellinika-1252 >build/preview/Ellinika-1252.log 2>&1 ||
    ! grep -q "TXT_DIALOG_TITLE does not read as the language's in code page 1253" \
        build/preview/Ellinika-1252.log ||
    [ "$(ls build/preview/Ellinika-1252/screenshots | grep -c -v failed)" != 7 ]; then
    tail -n 20 build/preview/Ellinika-1252.log
    echo "the preview did not fail on a table shown in another code page, or stopped" >&2
    exit 1
fi
echo "== a CJK preview (tests/languages/Nihongo.po), whose glyphs need the CJK font"
# Without a font folder no font has a glyph of Japanese: the check fails.
printf '<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "fonts.dtd">\n<fontconfig/>\n' \
    >build/no-fonts.conf
if FONTCONFIG_FILE=$root/build/no-fonts.conf bash scripts/check-glyphs.sh \
    tests/languages/Nihongo.po 2>build/no-fonts.log || ! grep -q "have no glyph" build/no-fonts.log; then
    cat build/no-fonts.log
    echo "the font check passed without fonts" >&2
    exit 1
fi
bash scripts/preview-language.sh tests/languages/Nihongo.po --no-build -o build/preview/Nihongo

if [ -f scripts/test-native.sh ]; then
    echo "== native tests with sanitizers, fuzzing"
    bash scripts/test-native.sh
fi

if git rev-parse --verify -q HEAD >/dev/null 2>&1; then
    echo "== reproducible build (two builds of the commit)"
    bash scripts/check-reproducible.sh
fi
