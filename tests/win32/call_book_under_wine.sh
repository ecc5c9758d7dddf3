#!/usr/bin/env bash
# The on-line call book through WinHTTP and the small XML reader: tests/orca's
# call_book_online.script played by the Linux runner and by varrowlog-script.exe under Wine,
# each with the local stand-in of the service (tests/reference/callbook_server.py) named in
# CALLBOOK.TXT. Both journals must be the same, and must hold the name and address found.
#   call_book_under_wine.sh LINUX_RUNNER WINDOWS_RUNNER DATA_FOLDER TESTS_FOLDER
set -euo pipefail
linux="$1" windows="$2" data="$3" tests="$4"
work="$(mktemp -d)"
server=
trap '[ -n "$server" ] && kill $server 2>/dev/null; rm -rf "$work"' EXIT
"$tests/reference/callbook_server.py" >"$work/port" &
server=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
for side in linux windows; do
    mkdir -p "$work/$side"
    cp "$data/COUNTRY.LST" "$work/$side/"
    printf '\r\n\r\nhttp://127.0.0.1:%s/found/\r\n' "$(head -1 "$work/port")" >"$work/$side/CALLBOOK.TXT"
done
script="$tests/orca/call_book_online.script"
"$linux" "$work/linux" "$script" >"$work/linux.journal"
wine "$windows" "$(winepath -w "$work/windows")" "$(winepath -w "$script")" \
    >"$work/windows.journal" 2>/dev/null </dev/null
if ! grep -q "1 High St Leeds England" "$work/linux.journal"; then
    echo "FAILED: the Linux runner found no name and address"
    cat "$work/linux.journal"
    exit 1
fi
if ! cmp -s "$work/linux.journal" "$work/windows.journal"; then
    echo "FAILED: the journals differ"
    diff "$work/linux.journal" "$work/windows.journal" || true
    exit 1
fi
echo "the on-line call book under Wine: the same journal as on Linux, the record found"
