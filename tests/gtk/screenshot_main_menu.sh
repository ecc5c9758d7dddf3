#!/usr/bin/env bash
# Starts the desktop program and saves a screenshot of its main menu.
#   screenshot_main_menu.sh PROGRAM OUTPUT.png
set -euo pipefail
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$1" "$dir/varrowlog"
: > "$dir/COUNTRY.LST"
"$dir/varrowlog" &
program=$!
for attempt in $(seq 100); do
    xdotool search --name "Varrow Log version" >/dev/null 2>&1 && break
    sleep 0.05
done
sleep 0.5
import -window root "$2"
xdotool search --onlyvisible --name "Varrow Log version" windowfocus --sync key Escape
wait "$program"
