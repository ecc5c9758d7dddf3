#!/usr/bin/env bash
# ADIF export and import of a 120,000-entry log set beside adif-parser-ts on the same
# records, in one run, with medians of RUNS runs; then the peak memory of the key-script
# runner importing that file through the Import Log screen.
#   bench/adif_speed.sh BUILD_DIR [RUNS]
# BUILD_DIR is a release build; the reader comes from BUILD_DIR/peers (scripts/test installs
# it there) or is installed there now.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/rel}"
runs="${2:-5}"
if [ ! -d "$build/peers/node_modules/adif-parser-ts" ]; then
    . scripts/lib/common.sh
    install_adif_peers "$build"
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$build/bench/varrowlog-make-bench-log" "$dir"
ours=$("$build/bench/varrowlog-adif-speed" "$dir" "$runs")
peer=$(NODE_PATH="$build/peers/node_modules" node bench/adif_peer_speed.js "$dir/BENCH.ADI" "$runs")
echo "$ours"
echo "$peer"
value() { echo "$1" | awk -v k="$2" '$1 == k { print $2 }'; }
awk -v e="$(value "$ours" export_ms)" -v i="$(value "$ours" import_ms)" \
    -v f="$(value "$peer" peer_format_ms)" -v p="$(value "$peer" peer_parse_ms)" 'BEGIN {
    printf "export: %.1f ms, adif-parser-ts format %.1f ms: %.1f times faster\n", e, f, f / e
    printf "import: %.1f ms, adif-parser-ts parse %.1f ms: %.1f times faster\n", i, p, p / i
}'

# Peak memory: the runner imports the file into an empty log through the screen, with the
# shipped country list (an empty one stops the program at start-up). A run that did not
# import is no figure: the script fails.
run=$(mktemp -d)
trap 'rm -rf "$dir" "$run"' EXIT
cp "$dir/BENCH.ADI" "$run/BENCH.ADI"
cp data/COUNTRY.LST "$run/COUNTRY.LST"
printf 'key Home\n' > "$run/import.script"
for _ in $(seq 9); do printf 'key Down\n' >> "$run/import.script"; done
printf 'key Enter\ntype bench.adi\nkey F12\nanswer ok\nkey Escape\nkey Escape\n' >> "$run/import.script"
/usr/bin/time -o "$run/time.txt" \
    -f "peak resident memory of the runner during the import: %M KiB, elapsed %e s" \
    "$build/varrowlog-script" "$run" "$run/import.script" > "$run/journal.txt"
size=$(stat -c %s "$run/MYLOG.LOG" 2>/dev/null || echo 0)
if ! grep -qF "Entries imported" "$run/journal.txt" || [ "$size" -eq 0 ]; then
    echo "the import did not reach the log (MYLOG.LOG is $size bytes)" >&2
    cat "$run/journal.txt" >&2
    exit 1
fi
grep -F "Entries imported" "$run/journal.txt"
cat "$run/time.txt"
