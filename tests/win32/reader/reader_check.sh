#!/usr/bin/env bash
# NVDA's and JAWS's part, proved under Wine: each key script of the Orca check is played to
# varrowlog.exe on a Wine desktop while reader_standin listens from its own process, and what
# it heard (focus, windows, message boxes, and the notifications the stand-in
# UIAutomationCore.dll beside the program took) must be what the script's kept journal says
# (tests/orca/NAME.journal, which the scenario test and win_same_journal_as_linux hold both
# runners to), once and in the same order. The transcripts are left in OUT.
#   reader_check.sh READER_EXE UIA_DLL PROGRAM_EXE RUNNER_EXE DATA_FOLDER TESTS_FOLDER OUT
#                   CALL_BOOK_DLL
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../wine.sh"

if [ "${1:-}" = "--on-display" ]; then
    reader="$2" out="$3"
    shift 3
    start_wine_desktop
    failed=0
    for script in "$@"; do
        name="$(basename "$script" .script)"
        wine "$reader" "$(winepath -w "$out/$name/varrowlog.exe")" "$(winepath -w "$script")" \
            "$(winepath -w "$out/$name.heard")" </dev/null || failed=1
    done
    exit "$failed"
fi

reader="$1" uia="$2" program="$3" runner="$4" data="$5" tests="$6" out="$7" call_book="$8"
# The runner uses the build's Wine; the program a Wine of its own, whose desktop process
# must start on the private display, not on none.
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine}" WINEDEBUG=-all
desktop_prefix="$WINEPREFIX-desktop"
trap 'WINEPREFIX="$desktop_prefix" wineserver -k 2>/dev/null || true' EXIT
mkdir -p "$desktop_prefix"
rm -rf "$out"
orca_fixture "$out/fixture" "$runner" "$data" "$tests" "$call_book"

scripts=()
# Every script with a kept journal (those beside a radio, a server or WSJT-X have none), but
# one that sets the program's clock hears times this run cannot give the real program.
for journal in "$tests"/orca/*.journal; do
    name="$(basename "$journal" .journal)"
    head -1 "$tests/orca/$name.script" | grep -q '^# Clock' && continue
    scripts+=("$tests/orca/$name.script")
    cp -r "$out/fixture" "$out/$name"
    cp "$program" "$uia" "$out/$name/"
done

# A desktop Wine left from a display that is gone would take the new programs.
WINEPREFIX="$desktop_prefix" wineserver -k 2>/dev/null || true
status=0
# The stand-in beside the program is taken before Wine's own UI Automation.
WINEPREFIX="$desktop_prefix" WINEDLLOVERRIDES="uiautomationcore=n,b;${WINEDLLOVERRIDES:-}" \
    on_display --on-display "$reader" "$out" "${scripts[@]}" || status=$?
for script in "${scripts[@]}"; do
    name="$(basename "$script" .script)"
    python3 "$here/same_speech.py" "$script" "$tests/orca/$name.journal" "$out/$name.heard" || status=1
done
exit "$status"
