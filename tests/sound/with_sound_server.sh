#!/usr/bin/env bash
# Runs a command against a private PulseAudio server with only a null sink, so the real
# sound path plays to its end without a speaker. Sourced, it only defines start_sound_server.
#   tests/sound/with_sound_server.sh COMMAND [ARGS...]
# The server's socket and log go in folder $1; PULSE_SERVER names it, $sound_server is its id.
start_sound_server() {
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes --use-pid-file=no \
        -L "module-null-sink sink_name=silent" \
        -L "module-native-protocol-unix socket=$1/pulse.sock auth-anonymous=1" >"$1/pulse.log" 2>&1 &
    sound_server=$!
    export PULSE_SERVER="unix:$1/pulse.sock"
    for attempt in $(seq 100); do pactl info >/dev/null 2>&1 && return; sleep 0.05; done
    pactl info >/dev/null || { cat "$1/pulse.log"; return 1; }
}
[ "${BASH_SOURCE[0]}" = "$0" ] || return 0
set -euo pipefail
dir=$(mktemp -d)
export HOME="$dir" XDG_RUNTIME_DIR="$dir" XDG_CONFIG_HOME="$dir"
trap 'kill "${sound_server:-}" 2>/dev/null || true; wait "${sound_server:-}" 2>/dev/null || true; rm -rf "$dir"' EXIT
start_sound_server "$dir"
VARROW_SOUND_SERVER=1 "$@"
