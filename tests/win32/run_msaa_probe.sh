#!/usr/bin/env bash
# Runs the MSAA probe against varrowlog.exe on a private X display with a Wine desktop of its
# own (so windows have their captions and frames): at 96 and again at 192 dots per inch it
# walks every screen on the Orca check's log, reading and measuring each, and leaves their
# screenshots as PNG files in ARTIFACT_FOLDER/win32_screens; it measures the start-up to the
# main menu with a log of 120,000 entries.
#   run_msaa_probe.sh PROBE_EXE VARROWLOG_EXE MAKE_LOG_EXE DATA_FOLDER ARTIFACT_FOLDER
#                     RUNNER_EXE TESTS_FOLDER CALL_BOOK_DLL
#   run_msaa_probe.sh --main-menu PROBE_EXE FOLDER   the program unpacked in FOLDER, as shipped
set -euo pipefail

. "$(dirname "$0")/wine.sh"

# Inside the display: the walk through every screen at 96 dots per inch, the timed start with
# the big log, then the walk again at 192, the setting Wine reads when its desktop starts, on
# a fresh folder, for the screenshots at twice the text size.
if [ "${1:-}" = "--on-display" ]; then
    probe="$2" big="$3" make_log="$4" screens="$5" walks="$6"
    status=0
    for dpi in 96 192; do
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
        wineserver -k || true
        wineserver -w
        start_wine_desktop
        echo "Every screen at $dpi dots per inch:"
        wine "$probe" "$(windows_name "$screens/$dpi/varrowlog.exe")" \
            "$(windows_name "$screens/$dpi/shots")" "$(windows_name "$walks/screens.walk")" ||
            { status=$?; echo "the walk ended with $status"; }
        if [ $dpi = 96 ]; then
            wine "$make_log" "$(windows_name "$big")" >/dev/null
            echo "Start-up with 120,000 entries under Wine:"
            wine "$probe" "$(windows_name "$big/varrowlog.exe")" "$(windows_name "$big")" \
                "$(windows_name "$walks/main_menu.walk")" ||
                { status=$?; echo "the timed start ended with $status"; }
        fi
    done
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
    exit "$status"
fi

if [ "${1:-}" = "--shipped-on-display" ]; then
    start_wine_desktop
    exec wine "$2" --shipped "$(windows_name "$3/varrowlog.exe")" \
        "$(windows_name "$(dirname "$0")/main_menu.walk")"
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
big="$(mktemp -d)"
screens="$(mktemp -d)"
trap 'WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true; rm -rf "$big" "$screens"' EXIT
mkdir -p "$screens/96/shots" "$screens/192/shots"
WINEPREFIX="${WINEPREFIX%-desktop}" orca_fixture "$screens/96" "$runner" "$data" "$tests" "$call_book"
cp "$program" "$screens/96/"
cp -r "$screens/96/." "$screens/192/"
mkdir -p "$WINEPREFIX"
cp "$program" "$data/COUNTRY.LST" "$big/"

status=0
on_display --on-display "$probe" "$big" "$make_log" "$screens" "$tests/win32" ||
    status=$?
rm -rf "$artifacts/win32_screens"
mkdir -p "$artifacts/win32_screens"
for dpi in 96 192; do
    for shot in "$screens/$dpi/shots"/*.bmp; do
        [ ! -f "$shot" ] ||
            convert "$shot" "$artifacts/win32_screens/$(basename "$shot" .bmp)_${dpi}dpi.png"
    done
done
exit "$status"
