#!/usr/bin/env bash
# Runs a command with an X display: the one given in DISPLAY, or a private
# Xvfb started here and stopped afterwards.
#
# usage: with-display.sh COMMAND [ARGS...]
set -u
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$@"
fi
for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null' EXIT
export DISPLAY=":$n"
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
if ! xdpyinfo >/dev/null 2>&1; then
    echo "with-display: no X server on $DISPLAY (is Xvfb installed? scripts/deps.sh)" >&2
    exit 1
fi
"$@"
