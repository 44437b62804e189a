#!/usr/bin/env bash
# Runs a command with an X display: the one given in DISPLAY, or a private
# Xvfb started here and stopped afterwards.
#
# usage: with-display.sh COMMAND [ARGS...]
set -u
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$@"
fi
# Xvfb picks a free display itself and writes its number once it accepts
# connections: no display is guessed and raced for, and no time is guessed.
exec 9< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null' EXIT
# A bound for a machine where Xvfb cannot start at all, not a wait.
if ! read -r -t 120 n <&9 || [ -z "$n" ]; then
    echo "with-display: Xvfb did not start (is it installed? scripts/install-packages.sh)" >&2
    exit 1
fi
export DISPLAY=":$n"
"$@"
