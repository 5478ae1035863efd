#!/bin/sh
# Rebuilds the Instructions window's three pictures into resources/.
# Needs the MinGW-w64 toolchain, Wine, Xvfb and the fonts-wine package (for Tahoma).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out="$root/resources"
work=$(mktemp -d /tmp/illustrations.XXXXXX)
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -static -municode \
    -Wall -Wextra -Wpedantic -Werror \
    -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX \
    -o "$work/make_illustrations.exe" "$here/make_illustrations.cpp" \
    -lgdi32 -luser32

# Debian's Wine does not find the fonts of fonts-wine by itself; fontconfig, which Wine also
# asks, is pointed at them.
cat >"$work/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <dir>/usr/share/wine/fonts</dir>
</fontconfig>
CONF

# Wine wants a display even though the pictures are drawn off screen.
Xvfb -displayfd 3 -screen 0 1280x1024x24 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }

wine=${WINE:-/usr/lib/wine/wine64}
export DISPLAY=":$(cat "$work/display")"
export FONTCONFIG_FILE="$work/fonts.conf"
export WINEPREFIX="${WINEPREFIX:-/tmp/illustrations-wineprefix}"
export WINEDEBUG=-all
status=0
"$wine" "$work/make_illustrations.exe" "Z:$out" || status=$?
# Let Wine's background processes finish before their display goes away.
"$(dirname "$wine")/wineserver" -w || true
exit "$status"
