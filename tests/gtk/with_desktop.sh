#!/usr/bin/env bash
# Runs a command on a private X display (Xvfb) inside a private D-Bus session, where the
# AT-SPI bus starts on demand, so GTK programs expose their accessible tree to the command.
#   tests/gtk/with_desktop.sh COMMAND [ARGS...]
# The screen is 1280 by 1024 pixels, or WIDTHxHEIGHT from VARROW_SCREEN.
set -euo pipefail
# The server takes a free display and names it once it is ready for clients.
coproc XVFB { exec Xvfb -displayfd 1 -screen 0 "${VARROW_SCREEN:-1280x1024}x24" -noreset -nolisten tcp 2>/dev/null; }
xvfb=$XVFB_PID
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
read -r number <&"${XVFB[0]}"
export DISPLAY=":${number}"
unset NO_AT_BRIDGE GTK_MODULES
dbus-run-session -- "$@"
