# Shared by scripts/run and scripts/test: installs what is missing and builds with CMake.
# Source it; it sets ROOT to the checkout.

set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What building and running the program needs on Debian 12 (qt6-translations-l10n holds Qt's own
# Japanese texts, which the program loads at run time; libqt6sql6-sqlite the SQLite driver the
# history of lotteries is kept with; qt6-multimedia-dev and libqt6multimedia6 the audio output the
# show's sounds play through).
BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev qt6-qpa-plugins qt6-translations-l10n libgl-dev
    libfontconfig-dev fonts-ipafont-gothic libqt6sql6-sqlite qt6-multimedia-dev libqt6multimedia6)
# What the tests need besides: a real X server, a window manager and the tools that look at its
# windows, the accessibility bus, and the tools that check the menu entry, make the Debian package
# and judge it.
TEST_PACKAGES=(xvfb xauth openbox xdotool x11-utils imagemagick poppler-utils
    dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0 desktop-file-utils dpkg-dev file lintian)

say() { echo "scripts/$(basename "$0"): $*" >&2; }

as_root() {
    if [[ $(id -u) -eq 0 ]]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        say "installing packages needs root; run this script as root or install sudo"
        exit 1
    fi
}

missing_packages() {
    local package
    for package in "$@"; do
        if [[ $(dpkg-query -W -f='${Status}' "$package" 2>/dev/null) != "install ok installed" ]]; then
            echo "$package"
        fi
    done
}

# Installs the named packages that are not installed yet; does no apt work when none is missing.
install_missing() {
    local missing
    mapfile -t missing < <(missing_packages "$@")
    if ((${#missing[@]} == 0)); then
        return 0
    fi
    say "installing ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# start_xvfb WORK [XVFB_OPTIONS...]: starts an X server of the script's own (1280x1024), noting its
# display in WORK, exports DISPLAY for it and sets xvfb_pid for the script's cleanup to stop it.
start_xvfb() {
    local work=$1
    shift
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp "$@" 3>"$work/display" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [[ -s $work/display ]] && break
        sleep 0.1
    done
    [[ -s $work/display ]] || { say "Xvfb did not start"; exit 1; }
    export DISPLAY=":$(cat "$work/display")"
}

# configure_and_build BUILD_DIR CMAKE_OPTIONS...: configures (again, so that options added since
# the last run take effect; unchanged options rebuild nothing), then builds incrementally.
configure_and_build() {
    local dir=$1
    shift
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j 2
}

has_display() {
    [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]
}
