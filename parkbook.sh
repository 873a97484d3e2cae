#!/usr/bin/env bash
# Parkbook set-up on Debian bookworm.
#   ./parkbook.sh start   install what is missing, build, install Parkbook under ~/.local
#                         (menu entry included), lay out the home folder, start Parkbook
#   ./parkbook.sh test    install what is missing, build, run the whole test suite headless
# Run as root, or as a user who may use sudo (only apt-get runs through sudo).
set -euo pipefail

REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
BUILD="$REPO/build"

PACKAGES=(
    cmake ninja-build g++ pkg-config ccache
    qt6-base-dev qt6-multimedia-dev libqt6sql6-sqlite qt6-charts-dev libqt6opengl6-dev
    libxkbcommon-dev qt6-qpa-plugins qt6-tools-dev qt6-tools-dev-tools
    fonts-liberation sqlite3 libsqlite3-dev xvfb xauth espeak-ng lame gstreamer1.0-plugins-good
    clang clang-format libclang-rt-14-dev xdotool desktop-file-utils
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
    fi
}

configure() {
    cmake -S "$REPO" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
}

start() {
    install_missing
    configure
    cmake --build "$BUILD" -j2 --target parkbook parkbook_info
    # Installed like a desktop program (program, assets, menu entry, icon);
    # the launcher lays out the home folder from the installed assets, never
    # touching Parkbook.ini or anything in Data.
    local prefix="${PARKBOOK_PREFIX:-$HOME/.local}"
    cmake --install "$BUILD" --prefix "$prefix"
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "No display found: starting Parkbook inside a virtual X server (xvfb-run)."
        exec xvfb-run -a "$prefix/bin/parkbook-start"
    fi
    exec "$prefix/bin/parkbook-start"
}

run_tests() {
    install_missing
    configure -DPARKBOOK_WERROR=ON
    cmake --build "$BUILD" -j2
    export QT_QPA_PLATFORM=offscreen
    (cd "$BUILD" && ctest -j2 --output-on-failure)
    # A short start of the real program: it must come up and keep running.
    local smoke
    smoke="$(mktemp -d)"
    mkdir -p "$smoke/Programs/Parkbook/Info" "$smoke/Programs/Parkbook/Data"
    cp "$BUILD"/Info/* "$smoke/Programs/Parkbook/Info/"
    local status=0
    (cd "$smoke" && timeout 5 "$BUILD/src/parkbook" >/dev/null 2>&1) || status=$?
    rm -rf "$smoke"
    if [ "$status" -ne 124 ]; then
        echo "Smoke start of parkbook failed (exit $status)"
        exit 1
    fi
    echo "Smoke start: parkbook came up and kept running."
    (cd "$REPO" && git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror)
    echo "clang-format: clean."
    # The same suite under AddressSanitizer and UndefinedBehaviorSanitizer,
    # then every fuzz target for a bounded time.
    bash "$REPO/tests/run-extra.sh"
}

case "${1:-}" in
start) start ;;
test) run_tests ;;
*)
    echo "usage: $0 start|test" >&2
    exit 2
    ;;
esac
