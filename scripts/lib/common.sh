# Shared by scripts/run and scripts/test: install missing Debian packages, configure and build.

# Runs a command as root: directly when we are root, through sudo otherwise.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# Installs those of the named Debian packages that are not installed yet.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

# The packages every build needs: the toolchain, the test and benchmark libraries, and
# GTK 3, PulseAudio and libsndfile for the Linux desktop program, and cairo, Pango, CUPS
# and the Liberation fonts (metric twins of Courier New, Arial and Times New Roman) for
# printing, and libcurl and expat for the on-line call book.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
    libgtk-3-dev libpulse-dev libsndfile1-dev libcairo2-dev libpango1.0-dev libcups2-dev
    fonts-liberation libcurl4-openssl-dev libexpat1-dev)

# What the desktop tests need: a private X display and D-Bus session with the AT-SPI bus,
# the Python bindings that read the accessible tree, key presses, screenshots, fonts, a
# sound server with a null sink, the Orca screen reader with a window manager and
# speech-dispatcher, whose speech the tests capture to a file, a private print scheduler,
# poppler's PDF readers and Ghostscript (it reads the PostScript Wine's printing spools),
# libfaketime, which starts the program's clock at a set time for the Orca check, and
# Hamlib's daemons (rigctld, rotctld, with their dummy radio and rotator) and TrustedQSL's
# tqsl, which the station and upload tests talk to as the operator's machine would.
TEST_PACKAGES=(xvfb xauth x11-utils dbus at-spi2-core python3-pyatspi xdotool imagemagick faketime
    fonts-dejavu-core pulseaudio pulseaudio-utils orca speech-dispatcher metacity cups-daemon
    cups-client poppler-utils ghostscript libhamlib-utils trustedqsl)

# The Windows build: the mingw-w64 cross-compiler (posix threads) and Wine to run its tests.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64)

# Copies what the program ships beside itself into DEST: the data files with the sample rig
# definitions, and the sound cues the build BUILD made.
stage_data() {
    local build="$1" dest="$2"
    cp -R data/. "$dest/"
    cp "$build"/data/*.wav "$dest/"
}

# A Wine of our own in BUILD/wineprefix for the Windows tests, started once: a persistent
# wineserver and a first program run that sets the prefix up, so no test waits on that (or
# hangs on a pipe the set-up inherits).
start_wine() {
    export WINEPREFIX="$(realpath "$1")/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit >/dev/null 2>&1 </dev/null
}

# The two independent ADIF readers that check the program's exports, pinned in
# tests/interchange/peers, installed from npm into BUILD/peers. Node.js comes from Debian
# where the machine has none.
install_adif_peers() {
    local build="$1"
    if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
        ensure_packages nodejs npm
    fi
    mkdir -p "$build/peers"
    cp tests/interchange/peers/package.json tests/interchange/peers/package-lock.json "$build/peers/"
    (cd "$build/peers" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
}
