#!/bin/sh
# Sets up a Debian 12 machine for Vornix Coder, builds it, then runs it or its tests.
#   ./setup.sh run    install what is missing, build, start the program
#   ./setup.sh test   install what is missing, build, run every test (under a private Xvfb)
set -eu
cd "$(dirname "$0")"

PACKAGES="cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libxdo-dev libxres-dev libxcb1-dev
    xvfb xauth fonts-liberation fonts-dejavu-core lua5.4 openbox xdotool x11-utils
    imagemagick dbus at-spi2-core python3 python3-gi gir1.2-atspi-2.0
    clang libclang-rt-14-dev xfwm4 dpkg-dev file lintian man-db
    libwayland-dev libwayland-bin libxkbcommon-dev sway xwayland x11-xserver-utils qt6-wayland procps
    libxml2-dev libarchive-dev perl"

install_missing() {
    missing=""
    for p in $PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" \
            || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    as_root=""
    [ "$(id -u)" -eq 0 ] || as_root="sudo"
    $as_root apt-get update -q
    DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -q --no-install-recommends $missing
}

build() {
    [ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build
}

# The engine, vbsrun and their tests again, with AddressSanitizer, UndefinedBehaviorSanitizer
# and the fuzzing harnesses (clang).
build_sanitized() {
    [ -f build-asan/build.ninja ] || cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVORNIX_SANITIZE=ON -DVORNIX_ENGINE_ONLY=ON
    cmake --build build-asan
}

case "${1:-}" in
run)
    install_missing
    build
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "No display: Vornix Coder is a desktop program and needs an X11 or Wayland session." >&2
        echo "To try it on a machine without one, run it under a virtual X server:" >&2
        echo "    xvfb-run -a -s '-screen 0 1920x1080x24' build/app/vornix-coder" >&2
        exit 1
    fi
    exec build/app/vornix-coder
    ;;
test)
    install_missing
    build
    build_sanitized
    status=0
    echo "== Engine tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure --timeout 600 || status=1
    echo "== All tests"
    # One private X server for the tests that need a real one; the rest run offscreen.
    xvfb-run -a -s "-screen 0 1920x1080x24" \
        ctest --test-dir build --output-on-failure --timeout 300 || status=1
    exit $status
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
