#!/usr/bin/env bash
# The desktop program heard through Orca: each key script here is played to a fresh copy of
# a small log, and what Orca said after each step must be what NAME.speech expects.
#   orca_speech_test.sh BUILD_DIRECTORY OUTPUT_DIRECTORY [NAME...]
# The focus moves the screens are told of must be the same as on the key-script backend.
# What was said is left in OUTPUT_DIRECTORY/NAME.said, with Orca's own log beside it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "$1")
out=$(realpath -m "$2")
shift 2
names=("$@")
if [ "${#names[@]}" -eq 0 ]; then
    for script in "$here"/*.script; do
        name=$(basename "$script" .script)
        [ "$name" = fixture ] || names+=("$name")
    done
fi

rm -rf "$out"
mkdir -p "$out/fixture"
cp "$here/../../data/COUNTRY.LST" "$here/ISLANDS.TXT" "$out/fixture/"
"$build/varrowlog-script" "$out/fixture" "$here/fixture.script" >/dev/null
cp "$build/varrowlog" "$out/fixture/"
# The test call-book library, which answers for G4ABC on the CD in drive D.
cp "$build/tests/callbook/HAMCAL32.so" "$out/fixture/"

cat >"$out/play_all.sh" <<PLAY
#!/usr/bin/env bash
failed=0
helper=
# A script that begins "# Devices" is played with a transceiver on COM1 and a rotator box on
# COM2; one that begins "# Hamlib" with Hamlib's dummy radio behind rigctld on 7.074 MHz
# LSB, named in HAMLIB.TXT; one that begins "# Call book server" with the local stand-in of
# the on-line call book, named in CALLBOOK.TXT; one that begins "# WSJT-X" with a stand-in
# of WSJT-X on the port it names in DIGITAL.TXT. Each run gets fresh ones.
start_helpers() {
    case "\$(head -1 "$here/\$1.script")" in
        "# Devices"*)
            cp "$here/../../data/rigs/TS590.RIG" "\$2/"
            "$here/devices.py" "\$2" &
            helper=\$!
            while [ ! -s "\$2/PORTS.TXT" ]; do sleep 0.1; done
            ;;
        "# Hamlib"*)
            port=\$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
            rigctld -m 1 -T 127.0.0.1 -t "\$port" &
            helper=\$!
            until rigctl -m 2 -r "127.0.0.1:\$port" F 7074000 M LSB 2400 2>/dev/null; do sleep 0.1; done
            printf 'rig=127.0.0.1:%s\r\n' "\$port" >"\$2/HAMLIB.TXT"
            ;;
        "# WSJT-X"*)
            rm -f "\$2/DIGITAL.TXT"
            "$here/../digital/wsjtx_sender.py" "\$2" &
            helper=\$!
            while [ ! -s "\$2/DIGITAL.TXT" ]; do sleep 0.1; done
            ;;
        "# Call book server"*)
            "$here/../reference/callbook_server.py" >"\$2/server.port" &
            helper=\$!
            while [ ! -s "\$2/server.port" ]; do sleep 0.1; done
            printf '\\r\\n\\r\\nhttp://127.0.0.1:%s/found/\\r\\n' "\$(head -1 "\$2/server.port")" \
                >"\$2/CALLBOOK.TXT"
            ;;
    esac
}
stop_helpers() {
    if [ -n "\$helper" ]; then
        kill "\$helper"
        wait "\$helper" || true
        helper=
    fi
}
for name in ${names[*]}; do
    echo "== \$name"
    # The same script on the key-script backend first: both must tell the screens of the
    # same focus moves.
    rm -rf "$out/headless"
    : >"$out/\$name.focus-headless"
    cp -r "$out/fixture" "$out/headless"
    start_helpers "\$name" "$out/headless"
    VARROW_FOCUS_LOG="$out/\$name.focus-headless" "$build/varrowlog-script" "$out/headless" \
        "$here/\$name.script" >"$out/\$name.journal" 2>&1 || true
    stop_helpers
    # Orca now and then passes over a window's activation as old news and says nothing of
    # it; a script heard otherwise is played again on a fresh folder, up to three plays in
    # all, and one play must be heard exactly as expected. Each other hearing is kept as
    # NAME.said.N.
    for attempt in 1 2 3; do
        rm -rf "$out/program"
        cp -r "$out/fixture" "$out/program"
        : >"$out/\$name.focus-desktop"
        start_helpers "\$name" "$out/program"
        heard=0
        VARROW_FOCUS_LOG="$out/\$name.focus-desktop" timeout 120 "$here/speech_check.py" \
            "$out/program/varrowlog" "$here/\$name.script" "$here/\$name.speech" \
            "$out/\$name.said" && heard=1
        stop_helpers
        [ "\$heard" = 1 ] && break
        mv "$out/\$name.said" "$out/\$name.said.\$attempt"
        echo "\$name: heard otherwise in play \$attempt"
    done
    [ "\$heard" = 1 ] || failed=1
    if ! diff -u "$out/\$name.focus-headless" "$out/\$name.focus-desktop"; then
        echo "\$name: the desktop told the screens of other focus moves than the key-script backend"
        failed=1
    fi
done
exit \$failed
PLAY
chmod +x "$out/play_all.sh"
timeout 1100 "$here/desktop.sh" "$out/desktop" "$out/play_all.sh"
