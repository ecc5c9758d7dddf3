#!/bin/sh
# Prepares the operator's program folder and starts Varrow Log from it. The program keeps its
# files beside itself, so it runs from a folder of the operator's own: VARROWLOG_HOME, by
# default ~/VarrowLog. The programs there are replaced by the installed ones at each start;
# a shipped data file (the country list, the sound cues, the sample rig definitions) is
# copied only where it is absent, so the operator's log, settings and edited files are never
# overwritten.
#   VARROWLOG_SHIPPED       the installed programs (by default as the package installs them)
#   VARROWLOG_SHIPPED_DATA  the installed data files
set -eu

shipped="${VARROWLOG_SHIPPED:-/usr/lib/varrowlog}"
shipped_data="${VARROWLOG_SHIPPED_DATA:-/usr/share/varrowlog}"
home="${VARROWLOG_HOME:-${HOME:?}/VarrowLog}"

if [ ! -x "$shipped/varrowlog" ]; then
    echo "varrowlog: the program is not installed in $shipped" >&2
    exit 1
fi
mkdir -p "$home"

# A program is copied beside the running one and renamed over it, so a copy that is running
# keeps its file and a failed copy leaves the old program whole.
for program in varrowlog varrowlog-script; do
    if [ -f "$shipped/$program" ]; then
        cp "$shipped/$program" "$home/.$program.new"
        mv -f "$home/.$program.new" "$home/$program"
    fi
done

if [ -d "$shipped_data" ]; then
    (cd "$shipped_data" && find . -type f) | while IFS= read -r file; do
        if [ ! -e "$home/$file" ]; then
            mkdir -p "$(dirname "$home/$file")"
            cp "$shipped_data/$file" "$home/$file"
        fi
    done
fi

exec "$home/varrowlog" "$@"
