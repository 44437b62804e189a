#!/usr/bin/env bash
# Runs setup from the demo CD under Wine.
#
# Installs what it needs (scripts/install-packages.sh), builds everything in build/ (the
# cross build, which also builds langtool for this machine and lays out the
# demo medium build/demo/medium), makes a fresh Wine prefix with that medium
# as CD-ROM drive D: and starts D:\Setup.exe in D:\.
#
# With a display (DISPLAY set and reachable) you use setup yourself. Without
# one, or with --headless, it runs on a private Xvfb (scripts/with-display.sh)
# and walks through an installation by itself: it chooses a language, types
# an install folder, opens the About box and the folder picker, presses
# Install and answers the completion message, saving a screenshot at each
# step. Either way it then
# shows what was installed: the folder tree, the registry value and the
# Start Menu shortcuts.
#
# With --preview (scripts/preview-language.sh uses it) the walk pictures
# every kind of window a language's texts appear in instead: the dialog,
# the folder picker, a failure message, the space question (as root: a
# folder on E:, a 64 KB memory drive), the completion message, the question
# of a second start that finds the game installed and the uninstaller's
# question, each checked against the language's table read in its code page
# (--codepage).
#
# usage: scripts/demo.sh [--headless] [--language NAME] [--folder PATH]
#                        [--build-dir DIR] [--work DIR] [--medium DIR]
#                        [--preview [--codepage N]] [--no-build]
#
#   --headless        walk through an installation without a person
#   --language NAME   language to choose when headless (default Deutsch)
#   --folder PATH     install folder to type when headless (default C:\Games)
#   --build-dir DIR   the cross build folder (default build)
#   --work DIR        where the prefix and the screenshots go
#                     (default BUILD_DIR/demo/run)
#   --medium DIR      the medium to run setup from (default BUILD_DIR/demo/medium)
#   --preview         headless, the preview's walk
#   --codepage N      the code page of the previewed language's table
#                     (default 1252)
#   --no-build        use the build as it is (deps and build steps skipped)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
arguments=("$@")

headless=0 build_steps=1 language=Deutsch folder='C:\Games' preview=0 codepage=1252
build=$root/build work= medium=
while [ $# -gt 0 ]; do
    case $1 in
        --headless) headless=1; shift ;;
        --no-build) build_steps=0; shift ;;
        --language) language=${2:?}; shift 2 ;;
        --folder) folder=${2:?}; shift 2 ;;
        --build-dir) build=$(realpath -m "${2:?}"); shift 2 ;;
        --work) work=$(realpath -m "${2:?}"); shift 2 ;;
        --medium) medium=$(realpath -m "${2:?}"); shift 2 ;;
        --preview) preview=1 headless=1; shift ;;
        --codepage) codepage=${2:?}; shift 2 ;;
        *)
            sed -n '/^# usage:/,/^#   --no-build/p' "$0" | sed 's/^# \{0,1\}//' >&2
            exit 2
            ;;
    esac
done
work=${work:-$build/demo/run}
medium=${medium:-$build/demo/medium}
prefix=$work/prefix
shots=$work/screenshots
started=$(date +%s)

say() { echo "demo: $*"; }
elapsed() { echo "$(($(date +%s) - started)) s"; }
die() {
    echo "demo: $*" >&2
    exit 1
}

if [ $headless = 0 ] && ! { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }; then
    say "no usable display: running unattended (--headless)"
    headless=1
fi
# Unattended, the demo runs again under a private X server of its own, never
# on a display someone is looking at (with-display.sh starts one when
# DISPLAY is empty and stops it at the end).
if [ $headless = 1 ] && [ -z "${DEMO_ON_PRIVATE_DISPLAY:-}" ]; then
    exec env DISPLAY= DEMO_ON_PRIVATE_DISPLAY=1 bash "$root/scripts/with-display.sh" \
        bash "$0" --headless "${arguments[@]}"
fi

if [ $build_steps = 1 ]; then
    say "checking the packages it needs (installing any that are missing)"
    bash "$root/scripts/install-packages.sh"
    say "configuring the cross build in $build"
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    say "building setup, the demo programs, langtool and the demo medium (first time: a few minutes)"
    cmake --build "$build" -j"$(nproc)" >"$build/demo-build.log" 2>&1 ||
        { tail -n 40 "$build/demo-build.log" >&2; die "the build failed (log: $build/demo-build.log)"; }
    say "built ($(elapsed))"
fi
[ -f "$medium/Setup.exe" ] || die "no demo medium in $medium: build first (without --no-build)"
if [ "$medium" = "$build/demo/medium" ]; then
    say "demo CD: $medium (as an image: $build/demo/vellmor-demo.iso)"
else
    say "CD: $medium"
fi
driver=$build/demo/bin/DemoDriver.exe
[ $headless = 0 ] || [ -f "$driver" ] || die "no $driver: build first"

. "$root/scripts/wine-env.sh"
export WINEPREFIX=$prefix

# A fresh prefix each time: setup finds no earlier installation.
say "making a fresh Wine prefix in $prefix (about 15 s)"
if [ -d "$prefix" ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
fi
rm -rf "$shots"
mkdir -p "$work" "$shots"
# The preview's drive without space: as the tests' small drive, a memory
# drive, which only root can mount; smaller than the game.
small=$work/small small_folder=- drives=()
unmount_small() {
    if mountpoint -q "$small" 2>/dev/null; then umount "$small"; fi
}
if [ $preview = 1 ]; then
    unmount_small
    mkdir -p "$small"
    if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=64k tmpfs "$small" 2>/dev/null; then
        trap unmount_small EXIT
        drives=("e=hd:$small")
        small_folder='E:\Games'
    else
        say "not root (or no tmpfs): no drive without space, so no picture of the space question"
    fi
fi
# D: is the medium, a CD-ROM drive; no other drive of the machine takes part.
bash "$root/scripts/make-prefix.sh" "$prefix" "d=cdrom:$medium" "${drives[@]}"
if [ $headless = 1 ]; then
    # A virtual desktop: without a window manager on Xvfb, windows would have
    # no title bars in the screenshots.
    printf '\n[Software\\\\Wine\\\\Explorer]\n"Desktop"="Default"\n' >>"$prefix/user.reg"
    printf '\n[Software\\\\Wine\\\\Explorer\\\\Desktops]\n"Default"="1024x768"\n' >>"$prefix/user.reg"
fi
say "prefix ready, D: = $medium ($(elapsed))"

stop_everything() {
    wineserver -k 2>/dev/null || true
    [ $preview = 0 ] || unmount_small
}
trap stop_everything EXIT
trap 'exit 130' INT TERM

# Takes the screenshots the driver asks for (signals/N-NAME.request) until
# the driver has ended and left its status; the driver waits for each request
# to go away.
take_screenshots() {
    local output_pid=$1 request name
    while [ ! -f "$work/driver.status" ] && kill -0 "$output_pid" 2>/dev/null; do
        for request in "$work"/signals/*.request; do
            [ -f "$request" ] || continue
            name=$(basename "$request" .request)
            if import -display "$DISPLAY" -window root "$shots/$name.png" 2>/dev/null; then
                say "screenshot $shots/$name.png"
            else
                say "screenshot $name could not be taken"
            fi
            rm -f "$request"
        done
        sleep 0.2
    done
}

run_headless() {
    say "private X server $DISPLAY; starting D:\\Setup.exe and walking through an installation"
    say "  (language $language, install folder $folder)"

    rm -rf "$work/signals"
    mkdir -p "$work/signals"
    local signals_win="Z:${work//\//\\}\\signals"
    rm -f "$work/driver.status"
    (
        status=0
        walk=()
        [ $preview = 0 ] || walk=(--preview "$small_folder" "$codepage")
        timeout -k 5 240 wine "$driver" "$signals_win" "$language" "$folder" \
            "${walk[@]}" || status=$?
        echo $status >"$work/driver.status.tmp"
        mv "$work/driver.status.tmp" "$work/driver.status"
    ) 2>&1 | sed -u 's/\r$//; s/^/demo: /' &
    local output_pid=$!
    take_screenshots "$output_pid"
    local status
    status=$(cat "$work/driver.status" 2>/dev/null || echo unknown)
    # The programs setup started hold the driver's output open: the
    # installation's Setup.exe closes by itself after a few seconds.
    if [ "$status" = 0 ]; then
        timeout 30 wineserver -w || wineserver -k
    else
        wineserver -k
    fi
    wait "$output_pid" || true
    [ $status = 0 ] || die "the walk-through failed (status $status); screenshots so far: $shots"
    say "walk-through done ($(elapsed)); screenshots in $shots:"
    ls -1 "$shots" | sed 's/^/demo:   /'
}

run_with_display() {
    say "starting D:\\Setup.exe on $DISPLAY: install, or Exit to end"
    (cd "$medium" && wine start /d 'D:\' /wait 'D:\Setup.exe') || true
    wineserver -w
}

if [ $headless = 1 ]; then
    run_headless
else
    run_with_display
fi

# What the installation left behind, as Linux sees it.
wineserver -w
say "what was installed:"
value=$(sed -n '/^\[Software\\\\Brightfen\\\\The Vellmor\]/,/^$/s/^"InstallPath"="\(.*\)"$/\1/p' \
    "$prefix/system.reg" | sed 's/\\\\/\\/g')
if [ -z "$value" ]; then
    say "  no InstallPath in the registry: nothing was installed"
    [ $headless = 0 ] || exit 1
    exit 0
fi
say "  registry: HKLM\\Software\\Brightfen\\The Vellmor  InstallPath = $value"
case $value in
    [Cc]:\\*) installed=$prefix/drive_c/$(printf '%s' "${value#??\\}" | tr '\\' '/') ;;
    *) installed= ;;
esac
if [ -n "$installed" ] && [ -d "$installed" ]; then
    say "  files below $value ($installed):"
    (cd "$installed" && find . -mindepth 1 | LC_ALL=C sort | sed 's|^\./||; s|[^/]*/|  |g; s/^/demo:     /')
fi
links=$(find "$prefix/drive_c" -path '*/Start Menu/Programs/The Vellmor/*.lnk' 2>/dev/null | sort)
printf '%s\n' "$links" | while IFS= read -r link; do
    [ -n "$link" ] || continue
    say "  shortcut ${link#"$prefix"/drive_c/}:"
    lnkinfo "$link" 2>/dev/null | grep -E 'Local path|Working directory|Description' |
        sed 's/^[[:space:]]*/demo:     /'
done
say "finished in $(elapsed)"
