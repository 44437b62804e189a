#!/usr/bin/env bash
# Installs what building and testing need, when it is missing: the MinGW
# cross compiler, Wine (32-bit), Xvfb, CMake, GoogleTest's sources, clang for
# fuzzing, gettext and its library (langtool reads PO files with it),
# libunistring (langtool composes texts to NFC before converting them), what
# lays out and signs media (xorriso, osslsigncode, openssl), a font with
# Chinese, Japanese and Korean glyphs for the preview of those languages
# (fonts-wqy-microhei: one 5 MB font for Simplified and Traditional Chinese,
# kana and Hangul, where fonts-noto-cjk takes 90 MB), and the tools the
# tests use to look at results. Run as root on
# Debian; does nothing when everything is there.
set -eu

packages=(
    cmake make python3 g++ clang libclang-rt-dev googletest gettext libgettextpo-dev libunistring-dev
    g++-mingw-w64-i686 binutils-mingw-w64-i686
    wine wine32:i386 wine64 fonts-wine fonts-wqy-microhei xvfb x11-utils xdotool imagemagick
    liblnk-utils xorriso osslsigncode openssl
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "deps: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
