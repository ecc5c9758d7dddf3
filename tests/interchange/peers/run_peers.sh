#!/usr/bin/env bash
# Exports a realistic log and a log of every mode, and the file the uploads send of the
# first, and reads them with the two npm ADIF readers
# that scripts/test installs into BUILD/peers. Skipped (77) when they are not installed.
#   run_peers.sh ADIF_PEER_EXPORT PEERS_FOLDER
set -euo pipefail
exporter="$1"
peers="$2"
if [ ! -d "$peers/node_modules/tcadif" ] || [ ! -d "$peers/node_modules/adif-parser-ts" ]; then
    echo "the ADIF readers are not installed in $peers: scripts/test installs them"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$exporter" "$work"
for name in PEERS MODES UPLOAD; do
    NODE_PATH="$peers/node_modules" node "$(dirname "$0")/check_peers.js" "$work/$name.ADI" \
        "$work/$name.JSON"
done
