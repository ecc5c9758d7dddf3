#!/usr/bin/env bash
# Runs the MSAA probe against varrowlog.exe in a fresh program folder, on a private X display
# with a Wine desktop of its own (so windows have their captions and frames), turns its
# screenshots into PNG files, and measures the start-up to the main menu with a log of
# 120,000 entries. At 96 and again at 192 dots per inch it walks every screen on the Orca
# check's log, reading and measuring each, and leaves their screenshots in
# ARTIFACT_FOLDER/win32_screens.
#   run_msaa_probe.sh PROBE_EXE VARROWLOG_EXE MAKE_LOG_EXE DATA_FOLDER ARTIFACT_FOLDER
#                     RUNNER_EXE TESTS_FOLDER CALL_BOOK_DLL
#   run_msaa_probe.sh --main-menu PROBE_EXE FOLDER   the program unpacked in FOLDER, as shipped
set -euo pipefail

. "$(dirname "$0")/wine.sh"

# Inside the display: the probe and the walk through every screen at 96 dots per inch, the
# timed start with the big log, then both again at 192, the setting Wine reads when its
# desktop starts, on fresh folders, for the screenshots at twice the text size.
if [ "${1:-}" = "--on-display" ]; then
    probe="$2" folder="$3" big="$4" make_log="$5" screens="$6" walks="$7"
    status=0
    walk() {
        wine "$probe" "$(windows_name "$1/varrowlog.exe")" "$(windows_name "$2")" \
            "$(windows_name "$walks/$3.walk")" || { status=$?; echo "the $3 walk ended with $status"; }
    }
    for dpi in 96 192; do
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
        wineserver -k || true
        wineserver -w
        start_wine_desktop
        echo "The probe at $dpi dots per inch:"
        walk "$folder/$dpi" "$folder/$dpi" probe
        echo "Every screen at $dpi dots per inch:"
        walk "$screens/$dpi" "$screens/$dpi/shots" screens
        if [ $dpi = 96 ]; then
            wine "$make_log" "$(windows_name "$big")" >/dev/null
            echo "Start-up with 120,000 entries under Wine:"
            wine "$probe" --time "$(windows_name "$big/varrowlog.exe")" ||
                { status=$?; echo "the timed start ended with $status"; }
        fi
    done
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
    exit "$status"
fi

if [ "${1:-}" = "--shipped-on-display" ]; then
    start_wine_desktop
    exec wine "$2" --main-menu "$(windows_name "$3/varrowlog.exe")"
fi

# A Wine of its own: the desktop process must start on this display, not on none.
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine}-desktop" WINEDEBUG=-all

if [ "${1:-}" = "--main-menu" ]; then
    trap 'wineserver -k 2>/dev/null || true' EXIT
    mkdir -p "$WINEPREFIX"
    on_display --shipped-on-display "$2" "$3"
    exit
fi

probe="$1" program="$2" make_log="$3" data="$4" artifacts="$5" runner="$6" tests="$7"
call_book="$8"
mkdir -p "$artifacts"
folder="$(mktemp -d)"
big="$(mktemp -d)"
screens="$(mktemp -d)"
trap 'WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true; rm -rf "$folder" "$big" "$screens"' EXIT
mkdir -p "$screens/96/shots" "$screens/192/shots"
WINEPREFIX="${WINEPREFIX%-desktop}" orca_fixture "$screens/96" "$runner" "$data" "$tests" "$call_book"
cp "$program" "$screens/96/"
cp -r "$screens/96/." "$screens/192/"
mkdir -p "$WINEPREFIX" "$folder/96" "$folder/192"
for copy in "$big" "$folder/96" "$folder/192"; do
    cp "$program" "$data/COUNTRY.LST" "$copy/"
done

status=0
on_display --on-display "$probe" "$folder" "$big" "$make_log" "$screens" "$tests/win32" ||
    status=$?
rm -rf "$artifacts/win32_screens"
mkdir -p "$artifacts/win32_screens"
for dpi in 96 192; do
    suffix=$([ $dpi = 96 ] || echo _192dpi)
    for shot in main_menu offline_form; do
        [ ! -f "$folder/$dpi/$shot.bmp" ] ||
            convert "$folder/$dpi/$shot.bmp" "$artifacts/win32_$shot$suffix.png"
    done
    for shot in "$screens/$dpi/shots"/*.bmp; do
        [ ! -f "$shot" ] ||
            convert "$shot" "$artifacts/win32_screens/$(basename "$shot" .bmp)_${dpi}dpi.png"
    done
done
exit "$status"
