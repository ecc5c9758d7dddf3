#!/usr/bin/env bash
# Plays every key script of tests/orca and tests/scenarios through the Linux runner and
# through varrowlog-script.exe under Wine, each on its own copy of the same program folder
# (the log the Orca check starts from), and requires the same journal, the same exit code
# and the same log, byte for byte. Each folder gets its system's build of the test call-book
# library, as the Orca check's folder does, and the on-line call book's local stand-in
# (tests/reference/callbook_server.py), which both reach through their own web clients. A
# Hamlib script has Hamlib's dummy radio behind Linux's rigctld on 7.074 MHz LSB, which both
# reach over their own sockets (Winsock under Wine).
#   same_journal.sh LINUX_RUNNER WINDOWS_RUNNER DATA_FOLDER TESTS_FOLDER WINDOWS_CALL_BOOK
set -euo pipefail
linux="$1" windows="$2" data="$3" tests="$4" windows_call_book="$5"
linux_call_book="$(dirname "$linux")/tests/callbook/HAMCAL32.so"
. "$(dirname "$0")/wine.sh"
work="$(mktemp -d)"
trap 'kill ${server:-} ${rigctld:-} 2>/dev/null; rm -rf "$work"' EXIT
serve "$tests/reference/callbook_server.py"
printf '\r\n\r\nhttp://127.0.0.1:%s/found/\r\n' "$port" >"$work/CALLBOOK.TXT"
mkdir -p "$work/fixture"
cp "$data/COUNTRY.LST" "$tests/orca/ISLANDS.TXT" "$work/fixture/"
"$linux" "$work/fixture" "$tests/orca/fixture.script" >/dev/null

failed=0
count=0
for script in "$tests"/orca/*.script "$tests"/scenarios/*.script; do
    name="$(basename "$(dirname "$script")")/$(basename "$script" .script)"
    [ "$name" = orca/fixture ] && continue
    # Scripts played beside a simulated transceiver and rotator box need them; the Windows
    # COM ports are tested on their own.
    head -1 "$script" | grep -q '^# Devices' && continue
    if head -1 "$script" | grep -q '^# Hamlib'; then
        rig_port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
        rigctld -m 1 -T 127.0.0.1 -t "$rig_port" &
        rigctld=$!
        until rigctl -m 2 -r "127.0.0.1:$rig_port" F 7074000 M LSB 2400 2>/dev/null; do sleep 0.1; done
    fi
    for side in linux windows; do
        rm -rf "$work/$side"
        cp -r "$work/fixture" "$work/$side"
        ! head -1 "$script" | grep -q '^# Call book server' || cp "$work/CALLBOOK.TXT" "$work/$side/"
        [ -z "${rigctld:-}" ] || printf 'rig=127.0.0.1:%s\r\n' "$rig_port" >"$work/$side/HAMLIB.TXT"
    done
    cp "$linux_call_book" "$work/linux/"
    cp "$windows_call_book" "$work/windows/"
    linux_status=0 windows_status=0
    "$linux" "$work/linux" "$script" >"$work/linux.journal" 2>"$work/linux.err" || linux_status=$?
    play_in_wine "$windows" "$work/windows" "$script" >"$work/windows.journal" \
        2>"$work/windows.err" || windows_status=$?
    count=$((count + 1))
    [ -z "${rigctld:-}" ] || { kill "$rigctld"; wait "$rigctld" 2>/dev/null || true; rigctld=; }
    if [ "$linux_status" != "$windows_status" ]; then
        problem="exit $linux_status on Linux, $windows_status on Windows"
    elif ! cmp -s "$work/linux.journal" "$work/windows.journal"; then
        problem="the journals differ"
        diff "$work/linux.journal" "$work/windows.journal" | head -10
    elif ! cmp -s "$work/linux/MYLOG.LOG" "$work/windows/MYLOG.LOG"; then
        problem="the logs differ"
    else
        echo "same: $name ($(wc -l <"$work/linux.journal") journal lines)"
        continue
    fi
    echo "FAILED $name: $problem"
    # What each said on its error output, Wine's own complaints among them.
    tail -n 5 "$work/linux.err" "$work/windows.err"
    failed=$((failed + 1))
done
echo "$((count - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
