#!/usr/bin/env bash
# Tolvane developer commands, for a Debian 12 machine.
#   ./dev.sh run    build tolvane.exe and start it under Wine on your display
#   ./dev.sh test   build everything and run every test (headless)
#   ./dev.sh build  build only
# Each installs the Debian packages it needs first, when they are missing.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${TOLVANE_BUILD_DIR:-$root/build}
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

# fonts-dejavu-core: Wine substitutes the faces it lacks (Verdana among them) from the
# system's fonts; with this one present, text measures the same on every machine.
packages=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix wine64 xvfb xauth googletest fonts-dejavu-core)

install_missing() {
    local missing=() p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    ((${#missing[@]} == 0)) && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

build_windows() {
    cmake -S "$root" -B "$build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        --toolchain "$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
    cmake --build "$build/win"
}

build_native() {
    cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLVANE_SANITIZE=ON >/dev/null
    cmake --build "$build/native"
}

wine_env() {
    export WINEPREFIX="$build/win/wineprefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        echo "Creating the Wine prefix (once)..."
        "$wine" wineboot --init >/dev/null 2>&1 || true
        "$wineserver" -w
    fi
}

xvfb_pid=""
stop_services() {
    [[ -n ${WINEPREFIX:-} ]] && "$wineserver" -k >/dev/null 2>&1 || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" >/dev/null 2>&1 || true
    [[ -n $xvfb_pid ]] && wait "$xvfb_pid" 2>/dev/null || true
}

start_xvfb() {
    local display_file
    display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [[ -s $display_file ]] && break
        sleep 0.1
    done
    [[ -s $display_file ]] || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$(head -n1 "$display_file")"
    rm -f "$display_file"
}

summary() { # ctest log -> "passed failed"
    sed -nE 's/.*tests passed, ([0-9]+) tests failed out of ([0-9]+).*/\1 \2/p' "$1" | tail -n1
}

cmd_test() {
    install_missing
    mkdir -p "$build"
    echo "== Native build (sanitizers) and platform-free tests"
    build_native
    local native_status=0 windows_status=0
    ctest --test-dir "$build/native" -j"$(nproc)" --output-on-failure 2>&1 | tee "$build/native-ctest.log" || native_status=1

    echo "== Windows build and tests under Wine"
    build_windows
    trap stop_services EXIT
    start_xvfb
    wine_env
    "$wineserver" -p
    # Start Wine's own services now, with their output going nowhere: started
    # by the first test they would inherit its output pipe and hold CTest up.
    "$wine" wineboot >/dev/null 2>&1
    ctest --test-dir "$build/win" --output-on-failure 2>&1 | tee "$build/win-ctest.log" || windows_status=1

    local nf nt wf wt failed total
    read -r nf nt < <(summary "$build/native-ctest.log"; echo "0 0")
    read -r wf wt < <(summary "$build/win-ctest.log"; echo "0 0")
    failed=$((nf + wf)); total=$((nt + wt))
    echo
    echo "$((total - failed)) passed, $failed failed"
    [[ $native_status -eq 0 && $windows_status -eq 0 && $total -gt 0 ]]
}

cmd_run() {
    install_missing
    if [[ -z ${DISPLAY:-} ]]; then
        echo "No display: DISPLAY is not set. Run this from a graphical session (or set DISPLAY)." >&2
        exit 1
    fi
    build_windows
    wine_env
    exec "$wine" "$build/win/tolvane.exe"
}

case "${1:-}" in
run) cmd_run ;;
test) cmd_test ;;
build) install_missing && build_windows ;;
*)
    echo "usage: $0 run|test|build" >&2
    exit 2
    ;;
esac
