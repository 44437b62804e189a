#!/usr/bin/env bash
# Runs a command with LC_ALL set to LOCALE.UTF-8, under which Wine runs as a
# Windows of that locale's ANSI code page (ja_JP: 932). When the machine
# lacks the locale, it is made once with localedef into LOCALES_DIR and
# found there through LOCPATH.
#
# usage: scripts/with-locale.sh LOCALE LOCALES_DIR COMMAND [ARGS...]
set -eu
locale=$1
locales=$2
shift 2
if ! locale -a 2>/dev/null | grep -qix "$locale.utf-\{0,1\}8"; then
    export LOCPATH=$locales
    if [ ! -d "$LOCPATH/$locale.UTF-8" ]; then
        mkdir -p "$LOCPATH"
        # Two runs at once may both make it; either result serves.
        localedef -i "$locale" -f UTF-8 "$LOCPATH/$locale.UTF-8" >/dev/null 2>&1 ||
            [ -d "$LOCPATH/$locale.UTF-8" ] || {
            echo "with-locale.sh: cannot make the locale $locale.UTF-8" >&2
            exit 1
        }
    fi
fi
LC_ALL=$locale.UTF-8 exec "$@"
