#!/usr/bin/env bash
# Runs one end-to-end test case in a fresh copy of the template prefix.
#
# usage: run-test.sh [--windows VERSION] TEMPLATE_DIR TEST_PROGRAM [ARGS...]
#
# The copy is a folder beside the template holding the prefix, the drive
# folders and a scratch folder; its Linux path is given to the test program
# as E2E_ROOT. The test program runs under wine with ARGS (one
# --gtest_filter); then the copy's wineserver is ended (with every program
# the test left running) and the copy is removed. --windows makes (and
# copies) a template in which Wine reports that Windows version
# (make-template.sh); give each version a TEMPLATE_DIR of its own.
# E2E_KEEP=1 keeps the copy for a look afterwards.
set -u
windows=()
if [ "${1:-}" = "--windows" ]; then
    windows=(--windows "$2")
    shift 2
fi
template=$(realpath -m "$1")
program=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)

# Wine's own error lines stay on (they are few), so that a failing case
# shows what Wine refused, for instance a window it could not create.
export WINEDEBUG=${WINEDEBUG:-fixme-all}
. "$here/../../scripts/wine-env.sh"

name=$(printf '%s' "${*:-test}" | sed 's/--gtest_filter=//; s/[^A-Za-z0-9_.-]/_/g' | cut -c1-60)
mkdir -p "$(dirname "$template")/runs"
root=$(mktemp -d "$(dirname "$template")/runs/$name.XXXXXX")

cleanup() {
    WINEPREFIX=$root/prefix wineserver -k 2>/dev/null
    # A small drive a test mounted and could not unmount itself.
    grep -o " $root/[^ ]*" /proc/mounts 2>/dev/null | xargs -r -n1 umount -l 2>/dev/null
    if [ "${E2E_KEEP:-0}" != 1 ]; then
        chmod -R u+w "$root" 2>/dev/null
        rm -rf "$root"
    else
        echo "kept: $root" >&2
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The template is remade under an exclusive lock (make-template.sh); the
# copy holds a shared one, so that it never meets a template half removed.
copied=
for _ in 1 2 3; do
    "$here/make-template.sh" "${windows[@]}" "$template" || exit 1
    exec 7>>"$template.lock"
    flock -s 7
    if [ -f "$template/ready" ]; then
        cp -a "$template/." "$root/" && copied=1
    fi
    exec 7>&-
    [ -n "$copied" ] && break
done
[ -n "$copied" ] || { echo "run-test.sh: cannot copy $template" >&2; exit 1; }
rm -f "$root/ready"
export WINEPREFIX=$root/prefix
export E2E_ROOT=$root

# Windows need a display; without one the test gets a private X server,
# which outlives the programs the test left running (ended here first).
timeout -k 5 "${E2E_TIMEOUT:-600}" bash "$here/../../scripts/with-display.sh" \
    bash -c 'wine "$@"; status=$?; wineserver -k 2>/dev/null; exit $status' wine \
    "$program" "$@" | tee "$root/output.txt"
status=${PIPESTATUS[0]}
# A filter that selects nothing passes in GoogleTest; here it is an error
# (a test renamed or left out of the build).
if [ $status -eq 0 ] && grep -q "Running 0 tests" "$root/output.txt"; then
    echo "run-test.sh: no test matched: $*" >&2
    status=1
fi
exit $status
