# Sourced by the scripts that run the Windows programs under Wine: their shared steps.

# A Wine desktop of the screen's size, so windows have their captions and frames, started
# once per prefix.
start_wine_desktop() {
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
}

# ARGS...: the calling script again, on a private X display of the desktop's size.
on_display() {
    xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@" </dev/null
}

# PATH: its Windows name on drive Z:, which a Wine prefix maps to the root. Written here, not
# asked of winepath: that is a Wine program of its own, and under load it sometimes gave none.
windows_name() {
    local path
    path="$(realpath -m "$1")"
    printf 'Z:%s' "${path//\//\\}"
}

# RUNNER FOLDER SCRIPT: a key script played by varrowlog-script.exe to FOLDER; the journal on
# standard output.
play_in_wine() {
    wine "$1" "$(windows_name "$2")" "$(windows_name "$3")" </dev/null
}

# FOLDER RUNNER DATA TESTS CALL_BOOK: the Orca check's log, made by the Windows runner, with
# the test call book that answers for G4ABC.
orca_fixture() {
    mkdir -p "$1"
    cp "$3/COUNTRY.LST" "$4/orca/ISLANDS.TXT" "$5" "$1/"
    play_in_wine "$2" "$1" "$4/orca/fixture.script" >/dev/null
}

# CMD...: a local stand-in server, which prints its port first, started in the background:
# its process in $server, its port in $port. The caller's exit trap kills ${server:-}.
serve() {
    "$@" >"$work/port" &
    server=$!
    for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
    port="$(head -1 "$work/port")"
}
