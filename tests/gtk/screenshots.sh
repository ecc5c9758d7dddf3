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
cp "$here/../../data/COUNTRY.LST" "$here/../orca/ISLANDS.TXT" "$dir/"
"$build/varrowlog-script" "$dir" "$here/../orca/fixture.script" >/dev/null
cp "$build/varrowlog" "$dir/"
metacity --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 0.5
(cd "$dir" && GDK_DPI_SCALE="$scale" ./varrowlog >/dev/null 2>&1) &
program=$!

# Waits for a window with the caption, then takes the screen. The window must be there and
# fit the screen's width (its frame aside), and show each label's and box's text whole
# (check_cut.py, from the accessible tree).
screen_width=$(xdpyinfo | sed -n 's/^ *dimensions: *\([0-9]*\)x.*/\1/p')
failed=0
shot() {
    local caption=$1 name=$2 window= WIDTH=0
    window=$(timeout 5 xdotool search --sync --onlyvisible --name "$caption" 2>/dev/null | tail -1) || true
    sleep 0.4
    import -window root "$out/$name-$scale.png"
    [ -n "$window" ] || { echo "$name: no window named '$caption' came"; failed=1; return; }
    eval "$(xdotool getwindowgeometry --shell "$window")"
    if [ "$WIDTH" -gt "$screen_width" ]; then
        echo "$name: the window is $WIDTH pixels wide, wider than the $screen_width-pixel screen"
        failed=1
    fi
    /usr/bin/python3 "$here/check_cut.py" "$caption" || failed=1
}
keys() { xdotool key --delay 60 "$@"; sleep 0.2; }
# The main menu's entry N (from 0) opened afresh, as the selection stays where it was left.
menu() { keys Home; for _ in $(seq "$1"); do keys Down; done; keys Return; }

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
menu 13; shot "Beam Heading" beam_heading; keys Escape
keys Home Return; shot "How to use" instructions
keys Down Return; shot "Off line logging." topic; keys Escape Escape
keys End Return; shot "About Varrow Log" about; keys Escape
# On-line logging with a call checked, so the Country, Last QSO and Beam Heading boxes are
# full, and the database search and note pad it opens.
menu 2; xdotool type --delay 40 G4ABC; keys Return; shot "On Line Logging" on_line
keys F1; shot "Key help" on_line_key_help; keys Escape
keys ctrl+1; xdotool type --delay 40 'eu*'; keys Return; shot "Database Search" database
keys Escape
keys F5; xdotool type --delay 40 'Worked G4ABC on the new antenna'; shot "Note Pad" note_pad
keys Escape; keys Escape; sleep 0.3; keys y
menu 4; shot "PRINT LOG" print_log; keys Escape
menu 5; shot "PRINT QSLs" print_qsl; keys Escape
menu 6; shot "Print SWL QSLs" print_swl; keys Escape
menu 9; shot "IMPORT A LOG" import; keys Escape
menu 10; shot "Export to ADIF" export; keys Escape
menu 11; shot "Select Date Format" date_format; keys Escape
# The call book screen, with the on-line call book's account boxes shown.
menu 14; shot "Call Book selection" call_book; keys Down Down Down Down
shot "Call Book selection" call_book_online; keys Escape
# The uploads screen, and a service's set-up screen with its masked key box.
menu 15; shot "Uploads" uploads; keys Tab Tab Return; shot "QRZ upload" uploads_qrz
keys Escape Escape
menu 16; shot "Set Back Up Drive" backup_drive; keys Escape
keys Escape
wait "$program" || true
exit "$failed"
