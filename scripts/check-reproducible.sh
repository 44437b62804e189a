#!/usr/bin/env bash
# Checks that the build is reproducible: builds the current commit twice,
# from two copies of its sources in two different folders, and compares
# Setup.exe, the demo's programs and libraries and the unsigned demo image.
# Prints every file's SHA-256 from both builds; exits 1 when one differs
# (and keeps both builds for a look), 0 when all agree.
#
# The image's times come from SOURCE_DATE_EPOCH, by default the commit's
# time. Uncommitted changes are not part of the check: commit first.
#
# usage: scripts/check-reproducible.sh [--keep] [WORK_DIR]
#
#   --keep     keep both builds even when they agree
#   WORK_DIR   where the two builds go (default: a new folder under /tmp)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
keep=0 work=
while [ $# -gt 0 ]; do
    case $1 in
        --keep) keep=1; shift ;;
        -*)
            sed -n '/^# usage:/,/^#   WORK_DIR/p' "$0" | sed 's/^# \{0,1\}//' >&2
            exit 2
            ;;
        *) work=$1; shift ;;
    esac
done

commit=$(git -C "$root" rev-parse HEAD)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct HEAD)}
[ -z "$(git -C "$root" status --porcelain --untracked-files=no)" ] ||
    echo "reproducible: uncommitted changes are left out; checking $commit"
if [ -z "$work" ]; then
    work=$(mktemp -d /tmp/reproducible.XXXXXX)
else
    mkdir -p "$work"
fi

# The files compared, relative to a build folder.
products=(
    app/Setup.exe
    demo/bin/Vellmor.exe
    demo/bin/Setup.exe
    demo/bin/SetupGlide.dll
    demo/bin/glide/Glide2x.dll
    demo/bin/DemoDriver.exe
    demo/vellmor-demo.iso
)

# build NAME: a copy of the commit's sources in WORK/NAME/src, built in
# WORK/NAME/build. The two names differ in length too, so that a folder name
# left in a file would also shift what follows it.
build() {
    local src=$work/$1/src out=$work/$1/build
    rm -rf "$work/$1"
    mkdir -p "$src"
    git -C "$root" archive "$commit" | tar -x -C "$src"
    echo "== build in $out"
    cmake -S "$src" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DSETUP_SIGN_DEMO=OFF >"$work/$1.log" 2>&1 &&
        cmake --build "$out" -j2 --target demo_medium >>"$work/$1.log" 2>&1 || {
        tail -n 30 "$work/$1.log" >&2
        echo "reproducible: the build in $out failed (log: $work/$1.log)" >&2
        exit 1
    }
}
build one
build second

status=0
printf '%-28s %-64s  %-64s\n' file "first build" "second build"
for file in "${products[@]}"; do
    a=$(sha256sum <"$work/one/build/$file" | cut -c1-64)
    b=$(sha256sum <"$work/second/build/$file" | cut -c1-64)
    verdict=same
    if [ "$a" != "$b" ]; then
        verdict=DIFFERENT
        status=1
    fi
    printf '%-28s %s  %s  %s\n' "$file" "$a" "$b" "$verdict"
done

if [ $status = 0 ]; then
    echo "reproducible: both builds of $commit agree (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH)"
    [ $keep = 1 ] || rm -rf "$work"
else
    echo "reproducible: the builds differ; both are kept in $work"
fi
exit $status
