#!/usr/bin/env bash
# Uploads through WinHTTP: varrowlog-script.exe under Wine logs a contact on the on-line
# screen with Club Log and QRZ set up against the local stand-in server
# (tests/uploads/upload_server.py). The screen must say both took it, the server must hold
# it once each, and no journal line may hold the key or password. A second run against the
# server's wrong-key and error answers must say why and keep the contact queued. LoTW goes
# through a stand-in tqsl (TqslStandIn.cpp) that keeps its arguments and exits as told.
#   uploads_under_wine.sh WINDOWS_RUNNER TESTS_FOLDER TQSL_STANDIN
set -euo pipefail
runner="$1" tests="$2" tqsl="$3"
. "$(dirname "$0")/wine.sh"
work="$(mktemp -d)"
trap 'kill ${server:-} 2>/dev/null; rm -rf "$work"' EXIT
serve python3 "$tests/uploads/upload_server.py"
base="http://127.0.0.1:$port"

printf 'clock 2025-03-14 14:02:00\nkey Home\nkey Down\nkey Down\nkey Enter\nkey Alt+M\ntype SSB\nkey Alt+W\ntype 10\nkey Shift+Tab\ntype g4abc\nkey F2\nkey F12\nwait 50\nkey Escape\nanswer yes\nkey Escape\n' >"$work/log.script"

# RUN ANSWER TQSL_EXIT: a fresh folder set up against /RUN/ANSWER/... and the stand-in tqsl,
# the script played under Wine.
play() {
    rm -rf "$work/run"
    mkdir -p "$work/run/TQSL"
    printf 'G,G,England,223,52,-1\r\n' >"$work/run/COUNTRY.LST"
    cp "$tqsl" "$work/run/TQSL/tqsl.exe"
    echo "$3" >"$work/run/TQSL/TQSLEXIT.TXT"
    printf 'clublog_email=ann@example.com\r\nclublog_password=secret\r\nclublog_call=G9ZZA\r\nclublog_key=appkey\r\nclublog_address=%s/%s/%s/clublog\r\nqrz_key=KEY1\r\nqrz_address=%s/%s/%s/qrz\r\nlotw_location=Home QTH\r\nlotw_program=%s\r\n' \
        "$base" "$1" "$2" "$base" "$1" "$2" "$(windows_name "$work/run/TQSL/tqsl.exe")" >"$work/run/UPLOADS.TXT"
    play_in_wine "$runner" "$work/run" "$work/log.script" >"$work/journal" 2>/dev/null
}

failed=0
# WHAT GOT WANTED: a failure said when GOT is not WANTED.
same() { [ "$2" = "$3" ] || { echo "FAILED: $1: $2"; failed=1; }; }
expect_line() {
    grep -qxF "$1" "$work/journal" || same "the journal lacks" "$1" ""
}
no_secret() {
    ! grep -q -e KEY1 -e secret -e appkey "$work/journal" || same "a line holds a secret" "" x
}

play wine live 0
expect_line 'static "Club Log: 1 contact sent. QRZ: 1 contact sent. LoTW: 1 contact sent."'
same "tqsl was given" "$(tr -d '\r' <"$work/run/TQSL/TQSLARGS.TXT" | head -7 | tr '\n' ' ')" \
    "-d -u -a compliant -x -l Home QTH "
grep -q '<call:5>G4ABC' "$work/run/TQSL/TQSLSENT.ADI" || same "tqsl was not given G4ABC" "" x
no_secret
same "the server holds" \
    "$(python3 -c 'import sys,urllib.request; print(urllib.request.urlopen(urllib.request.Request(sys.argv[1], data=b"")).read().decode(), end="")' "$base/wine/held")" \
    "$(printf 'clublog 20250314 1402 G4ABC 1\nqrz 20250314 1402 G4ABC 1')"
same "the queue still holds" "$(cat "$work/run/UPLOADS.QUE" 2>/dev/null)" ""

play wine wrongkey 11
expect_line 'static "Club Log: 1 contact kept to send later, wrong e-mail, password or application key. QRZ: 1 contact kept to send later, wrong API key. LoTW: 1 contact kept to send later, LoTW could not be reached."'
no_secret
same "the queue holds" "$(cat "$work/run/UPLOADS.QUE")" \
    "$(printf 'CLUBLOG 20250314 1402 G4ABC N\r\nQRZ 20250314 1402 G4ABC N\r\nLOTW 20250314 1402 G4ABC N\r')"

play wine error 0
expect_line 'static "Club Log: 1 contact kept to send later, the server failed, HTTP error 500. QRZ: 1 contact kept to send later, the server failed, HTTP error 500. LoTW: 1 contact sent."'

[ "$failed" = 0 ] && echo "uploads through WinHTTP and tqsl: sent, held once, failures said and kept"
exit "$failed"
