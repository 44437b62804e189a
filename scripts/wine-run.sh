#!/usr/bin/env bash
# Runs a Windows program under Wine in the given prefix, making the prefix
# the first time with make-prefix.sh (no drives but C: and Z:; parallel
# callers wait for each other). The program's exit status is this script's.
#
# usage: wine-run.sh PREFIX PROGRAM [ARGS...]
set -u
prefix=$(realpath -m "$1")
shift
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
export WINEPREFIX=$prefix

mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -d "$prefix" ]; then
        # Made beside and moved in whole, so that a prefix left half made by
        # an interrupted run is never used.
        rm -rf "$prefix.new"
        "$here/make-prefix.sh" "$prefix.new" && mv "$prefix.new" "$prefix"
    fi
) 9>"$prefix.lock" || exit 1

wine "$@"
status=$?
exit $status
