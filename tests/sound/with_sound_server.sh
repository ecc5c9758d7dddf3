#!/usr/bin/env bash
# Runs a command against a private PulseAudio server with only a null sink, so the real
# sound path plays to its end without a speaker.
#   tests/sound/with_sound_server.sh COMMAND [ARGS...]
set -euo pipefail
dir=$(mktemp -d)
export HOME="$dir" XDG_RUNTIME_DIR="$dir" XDG_CONFIG_HOME="$dir"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes --use-pid-file=no \
    -L "module-null-sink sink_name=silent" \
    -L "module-native-protocol-unix socket=$dir/pulse.sock auth-anonymous=1" >"$dir/server.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; rm -rf "$dir"' EXIT
export PULSE_SERVER="unix:$dir/pulse.sock"
for attempt in $(seq 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.05
done
pactl info >/dev/null || { cat "$dir/server.log"; exit 1; }
VARROW_SOUND_SERVER=1 "$@"
