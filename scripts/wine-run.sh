#!/usr/bin/env bash
# Runs a Windows program under Wine in the given prefix, creating the prefix
# the first time (parallel callers wait for each other). The program's exit
# status is this script's.
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
    if [ ! -f "$prefix/system.reg" ]; then
        wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
) 9>"$prefix.lock"

wine "$@"
status=$?
exit $status
