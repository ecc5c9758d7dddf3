#!/usr/bin/env bash
# Runs a command on a private X display (Xvfb) inside a private D-Bus session, where the
# AT-SPI bus starts on demand, so GTK programs expose their accessible tree to the command.
#   tests/gtk/with_desktop.sh COMMAND [ARGS...]
# The screen is 1280 by 1024 pixels, or WIDTHxHEIGHT from VARROW_SCREEN.
set -euo pipefail
for attempt in $(seq 20); do
    number=$((100 + RANDOM % 800))
    [ -e "/tmp/.X${number}-lock" ] || break
done
display=":${number}"
Xvfb "$display" -screen 0 "${VARROW_SCREEN:-1280x1024}x24" -noreset -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
for attempt in $(seq 100); do
    xdpyinfo -display "$display" >/dev/null 2>&1 && break
    sleep 0.05
done
export DISPLAY="$display"
unset NO_AT_BRIDGE GTK_MODULES
dbus-run-session -- "$@"
