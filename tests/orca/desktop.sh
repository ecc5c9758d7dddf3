#!/usr/bin/env bash
# Runs a command on a private desktop that Orca reads aloud into a file: Xvfb, the metacity
# window manager, a private D-Bus session with the AT-SPI bus, speech-dispatcher with an
# output module that appends each utterance to $ORCA_SPEECH instead of speaking, and Orca.
#   desktop.sh WORK_DIRECTORY COMMAND [ARGS...]
# The command sees DISPLAY and ORCA_SPEECH; everything started here ends with it.
set -euo pipefail
work=$(realpath "$1")
shift
here=$(cd "$(dirname "$0")" && pwd)

if [ "${VL_ORCA_INNER:-}" != 1 ]; then
    unset SPEECHD_ADDRESS
    export VL_ORCA_INNER=1
    # A private runtime folder: speech-dispatcher's socket and the AT-SPI bus live there.
    export XDG_RUNTIME_DIR="$work/run"
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    exec "$here/../gtk/with_desktop.sh" "$0" "$work" "$@"
fi

# Inside the private session.
export GSETTINGS_BACKEND=memory
export XDG_CONFIG_HOME="$work/config"
export ORCA_SPEECH="$work/speech.txt"
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher/modules" "$work/orca"
: >"$ORCA_SPEECH"
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<CONF
LogLevel 1
LogDir "$work"
AddModule "capture" "sd_generic" "capture.conf"
DefaultModule capture
AudioOutputMethod "pulse"
DefaultLanguage "en"
SymbolsPreproc "none"
Timeout 30
CONF
# One utterance a line; the module waits for the command, so the order is kept.
cat >"$XDG_CONFIG_HOME/speech-dispatcher/modules/capture.conf" <<CONF
GenericDelimiters "~"
GenericExecuteSynth "printf '%s\\\\n' \\'\$DATA\\' >> '$ORCA_SPEECH'"
GenericLanguage "en" "en" "utf-8"
AddVoice "en" "MALE1" "en"
CONF
cp "$here/user-settings.conf" "$work/orca/user-settings.conf"

# speech-dispatcher's modules need a sound server to start, and the program's sound cues
# play into its null sink.
. "$here/../sound/with_sound_server.sh"
start_sound_server "$work"

metacity --sm-disable >/dev/null 2>&1 &
wm=$!
orca_python=$(head -1 "$(command -v orca)" | sed 's/^#! *//')
$orca_python "$(command -v orca)" --replace -u "$work/orca" --debug-file="$work/orca-debug.txt" \
    >"$work/orca.log" 2>&1 &
orca=$!
cleanup() {
    # Orca takes a moment to shut down; one still running once the bus has gone would
    # wait for ever.
    kill "$orca" 2>/dev/null || true
    for attempt in $(seq 50); do
        kill -0 "$orca" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$orca" 2>/dev/null || true
    kill "$wm" 2>/dev/null || true
    kill "$sound_server" 2>/dev/null || true
    # speech-dispatcher was started by Orca and left running on its own.
    local pid_file="$XDG_RUNTIME_DIR/speech-dispatcher/pid/speech-dispatcher.pid"
    if [ -s "$pid_file" ]; then kill "$(cat "$pid_file")" 2>/dev/null || true; fi
}
trap cleanup EXIT
# Orca is ready when it has greeted the operator.
for attempt in $(seq 200); do
    [ -s "$ORCA_SPEECH" ] && break
    sleep 0.05
done
"$@"
