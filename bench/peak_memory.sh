#!/usr/bin/env bash
# Peak memory of the key-script runner with a 120,000-entry log open.
#   bench/peak_memory.sh BUILD_DIR
set -euo pipefail
build="${1:-build/test}"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$build/bench/varrowlog-make-bench-log" "$dir"
: > "$dir/COUNTRY.LST"
printf 'key Down Up\nkey Escape\n' > "$dir/peak.script"
/usr/bin/time -f "peak resident memory: %M KiB, elapsed %e s" \
    "$build/varrowlog-script" "$dir" "$dir/peak.script" > /dev/null
