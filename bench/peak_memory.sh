#!/usr/bin/env bash
# Peak memory of the key-script runner with a 119,999-entry log: opened and closed, then
# opened with a QSO saved before every entry (the whole log rewritten) and closed.
#   bench/peak_memory.sh BUILD_DIR
set -euo pipefail
build="${1:-build/test}"
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# One entry short of full, so the save has room.
"$build/bench/varrowlog-make-bench-log" "$dir" 119999
cp "$source_dir/data/COUNTRY.LST" "$dir/COUNTRY.LST"
printf 'key Down Up\nkey Escape\n' > "$dir/open.script"
# Off line logging, a QSO dated before the log's first entry, saved, and both screens left.
printf '%s\n' 'key Home' 'key Down' 'key Enter' 'type 01/01/94' 'key Enter' 'type G9ZZA' \
    'key Enter' 'type 1200' 'key Enter Enter Enter Enter' 'type 14.2' 'key Enter' 'type CW' \
    'key Enter' 'type 100' 'key F12' 'key Escape' 'key Escape' > "$dir/save.script"
for run in open save; do
    /usr/bin/time -f "$run: peak resident memory %M KiB, elapsed %e s" \
        "$build/varrowlog-script" "$dir" "$dir/$run.script" > "$dir/$run.journal"
done
# The save must have reached the log: one entry more than generated.
size=$(stat -c %s "$dir/MYLOG.LOG")
if [ "$size" -ne $((120000 * 84)) ]; then
    echo "the save did not reach the log (MYLOG.LOG is $size bytes)" >&2
    cat "$dir/save.journal" >&2
    exit 1
fi
