#!/usr/bin/env bash
# What a newcomer meets, checked on the real scripts in fresh folders: the README's run
# command, the Windows zip unpacked and started under Wine, and the Debian package built,
# checked by lintian, installed with apt, started and removed. Each reuses the builds
# scripts/test made.
#   tests/install/check_install.sh LINUX_BUILD WINDOWS_BUILD
set -euo pipefail
cd "$(dirname "$0")/../.."
linux_build="$(realpath "$1")" windows_build="$(realpath "$2")"
passed=0 failed=0
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Runs one check with errors fatal inside it (an "if" would switch that off) and keeps its
# output for when it fails.
check() {
    local what="$1" status=0
    shift
    set +e
    (set -e; "$@") >"$work/out" 2>&1
    status=$?
    set -e
    if [ "$status" -eq 0 ]; then
        echo "ok: $what"
        passed=$((passed + 1))
    else
        echo "FAILED: $what"
        sed 's/^/    /' "$work/out"
        failed=$((failed + 1))
    fi
}

# The program, started with no display, must say so in one line and stop.
said_no_display() {
    local output="$1"
    [ "$(wc -l <"$output")" -eq 1 ] && grep -q "no display could be opened" "$output"
}

# scripts/run twice over one folder, with the operator's log and an edited file written in
# between: the second run must leave both as they were.
run_from_readme() {
    local home="$work/run-home"
    local status=0
    env -u DISPLAY -u WAYLAND_DISPLAY VARROWLOG_HOME="$home" scripts/run --build "$linux_build" \
        >"$work/run1" 2>"$work/run1.err" || status=$?
    [ "$status" -ne 0 ] || { echo "the program did not stop without a display"; return 1; }
    said_no_display "$work/run1.err" || { echo "it said:"; cat "$work/run1.err"; return 1; }
    local file
    for file in varrowlog varrowlog-script COUNTRY.LST COUNTRY.EXC COUNTRY.LST-COPYRIGHT.txt LogOn.wav \
        LogOff.wav Dupe.wav rigs/IC7300.RIG rigs/TS590.RIG rigs/FT991.RIG rigs/FT817.RIG \
        rigs/FT847.RIG; do
        [ -s "$home/$file" ] || { echo "$file was not installed"; return 1; }
    done
    cmp -s data/COUNTRY.LST "$home/COUNTRY.LST" || { echo "COUNTRY.LST differs"; return 1; }

    "$home/varrowlog-script" "$home" tests/install/one_qso.script >/dev/null
    [ -s "$home/MYLOG.LOG" ] || { echo "the QSO was not logged"; return 1; }
    printf 'edited by the operator\r\n' >>"$home/rigs/IC7300.RIG"
    rm "$home/Dupe.wav"
    sha256sum "$home/MYLOG.LOG" "$home/COUNTRY.LST" "$home/rigs/IC7300.RIG" >"$work/before"

    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY VARROWLOG_HOME="$home" scripts/run --build "$linux_build" \
        >/dev/null 2>"$work/run2.err" || status=$?
    said_no_display "$work/run2.err" || { cat "$work/run2.err"; return 1; }
    sha256sum -c --quiet "$work/before" || { echo "the second run changed the files above"; return 1; }
    [ -s "$home/Dupe.wav" ] || { echo "a cue the operator lost was not copied again"; return 1; }
}

# The zip unpacked into an empty folder holds what the operator needs and nothing else, and
# its program opens its main menu under Wine, read through MSAA.
windows_zip() {
    scripts/package-windows --build "$windows_build"
    local unpacked="$work/zip"
    mkdir -p "$unpacked"
    (cd "$unpacked" && cmake -E tar xf "$OLDPWD/build/VarrowLog-windows.zip")
    (cd "$unpacked/VarrowLog" && find . -type f | sort) >"$work/zip-files"
    printf '%s\n' ./COUNTRY.EXC ./COUNTRY.LST ./COUNTRY.LST-COPYRIGHT.txt ./Dupe.wav ./LogOff.wav ./LogOn.wav \
        ./README.txt ./rigs/FT817.RIG ./rigs/FT847.RIG ./rigs/FT991.RIG ./rigs/IC7300.RIG \
        ./rigs/TS590.RIG ./varrowlog.exe | sort >"$work/zip-expected"
    diff "$work/zip-expected" "$work/zip-files" || { echo "the zip holds other files"; return 1; }
    grep -q $'\r$' "$unpacked/VarrowLog/README.txt" || { echo "README.txt has no CR LF"; return 1; }
    WINEPREFIX="$windows_build/wineprefix" tests/win32/run_msaa_probe.sh --main-menu \
        "$windows_build/tests/msaa_probe.exe" "$unpacked/VarrowLog"
}

# The Debian package: lintian finds no error, apt installs it with its dependencies, the
# launcher prepares a fresh folder and the program says in one line that no display is
# open, and apt removes it again.
debian_package() {
    ensure_packages lintian
    scripts/package-deb --build "$linux_build"
    local package
    package="$(ls "$PWD"/build/varrowlog_*.deb)"
    lintian --fail-on error --suppress-tags no-manual-page "$package"
    as_root apt-get install -y -qq "$package" >/dev/null
    [ -f /usr/share/applications/org.varrowlog.VarrowLog.desktop ] || return 1
    grep -q '^Categories=.*HamRadio;' /usr/share/applications/org.varrowlog.VarrowLog.desktop
    local home="$work/deb-home" status=0
    env -u DISPLAY -u WAYLAND_DISPLAY VARROWLOG_HOME="$home" varrowlog 2>"$work/deb.err" || status=$?
    [ "$status" -ne 0 ] && said_no_display "$work/deb.err" || { cat "$work/deb.err"; return 1; }
    [ -x "$home/varrowlog" ] && [ -s "$home/COUNTRY.LST" ] && [ -s "$home/LogOn.wav" ] &&
        [ -s "$home/rigs/FT817.RIG" ] || { echo "the launcher did not prepare $home"; return 1; }
    as_root apt-get remove -y -qq varrowlog >/dev/null
    ! command -v varrowlog || { echo "varrowlog is still installed"; return 1; }
}

. scripts/lib/common.sh
check "scripts/run on a fresh folder, and again over it" run_from_readme
check "the Windows zip, unpacked and started under Wine" windows_zip
check "the Debian package, checked, installed, started and removed" debian_package
echo "install checks: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
