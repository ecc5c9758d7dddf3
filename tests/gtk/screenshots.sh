#!/usr/bin/env bash
# Screenshots of every screen at a text scaling factor, for looking at what a partially
# sighted operator sees: run under with_desktop.sh.
#   screenshots.sh BUILD_DIRECTORY OUTPUT_DIRECTORY SCALE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "$1")
out=$(realpath -m "$2")
scale=$3
mkdir -p "$out"
dir=$(mktemp -d)
trap 'kill "$wm" 2>/dev/null || true; rm -rf "$dir"' EXIT
cp "$here/../../data/COUNTRY.LST" "$dir/"
"$build/varrowlog-script" "$dir" "$here/../orca/fixture.script" >/dev/null
cp "$build/varrowlog" "$dir/"
metacity --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 0.5
(cd "$dir" && GDK_DPI_SCALE="$scale" ./varrowlog >/dev/null 2>&1) &
program=$!

# Waits for a window with the caption, then takes the screen.
shot() {
    local caption=$1 name=$2
    for attempt in $(seq 100); do
        xdotool search --onlyvisible --name "$caption" >/dev/null 2>&1 && break
        sleep 0.05
    done
    sleep 0.4
    import -window root "$out/$name-$scale.png"
}
keys() { xdotool key --delay 60 "$@"; sleep 0.2; }

shot "Varrow Log version" main_menu
keys F1; shot "Key help" key_help; keys Escape
keys Down Return; sleep 0.5
xdotool type --delay 40 15/01/14; keys Return; xdotool type --delay 40 G4NEW; keys Return
xdotool type --delay 40 1300; shot "Off Line Logging" off_line; keys Escape; sleep 0.3; keys y
keys Down Down Return; shot "Browse the log" browse; keys Escape
keys r Return; shot "STATION DATA" station_data; keys Escape
keys d Return; shot "DX Data Facilities" dx_menu
keys Down Return; shot "DXCC Status" dxcc_status; keys Escape
keys c c Return; shot "Countries Worked" report; keys Escape Escape
keys l Return; shot "Set Latitude" location; keys Escape
keys b b Return; shot "Beam Heading" beam_heading; keys Escape
keys Home Return; shot "How to use" instructions
keys Down Return; shot "Off line logging." topic; keys Escape Escape
keys End Return; shot "About Varrow Log" about; keys Escape
keys Escape
wait "$program" || true
