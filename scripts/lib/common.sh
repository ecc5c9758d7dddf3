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
# GTK 3, PulseAudio and libsndfile for the Linux desktop program.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
    libgtk-3-dev libpulse-dev libsndfile1-dev)

# What the desktop tests need: a private X display and D-Bus session with the AT-SPI bus,
# the Python bindings that read the accessible tree, key presses, screenshots, fonts, a
# sound server with a null sink, and the Orca screen reader with a window manager and
# speech-dispatcher, whose speech the tests capture to a file.
TEST_PACKAGES=(xvfb xauth x11-utils dbus at-spi2-core python3-pyatspi xdotool imagemagick
    fonts-dejavu-core pulseaudio pulseaudio-utils orca speech-dispatcher metacity)
