#!/usr/bin/env bash
# Reads the links that LinkExport wrote with lnkinfo (liblnk-utils), a
# reader independent of the shell that wrote them, and checks each link's
# target, description and working directory.
#
# usage: check-links.sh RUN_DIR
set -u
links=$1/scratch/links
install='C:\Games\The Vellmor'
status=0

# field INFO NAME: the value of lnkinfo's "NAME : value" line.
field() {
    printf '%s\n' "$1" | sed -n "s/^[[:space:]]*$2[[:space:]]*: //p" | head -1
}

# check LINK TARGET DESCRIPTION
check() {
    local info
    if ! info=$(lnkinfo "$links/$1" 2>&1); then
        echo "lnkinfo cannot read $1:"
        printf '%s\n' "$info"
        status=1
        return
    fi
    local name expected actual
    for name in "Local path" "Description" "Working directory"; do
        case $name in
            "Local path") expected=$2 ;;
            "Description") expected=$3 ;;
            *) expected=$install ;;
        esac
        actual=$(field "$info" "$name")
        if [ "$actual" != "$expected" ]; then
            echo "$1: $name is '$actual', expected '$expected'"
            status=1
        fi
    done
}

check "Setup.lnk" "$install\\Setup.exe" "Setup"
check "The Vellmor.lnk" "$install\\Vellmor.exe" "The Vellmor"
[ $status -eq 0 ] && echo "lnkinfo: both links as expected"
exit $status
