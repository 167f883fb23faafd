#!/bin/sh
# The Windows build beside a trivial SDL2 program built the same way
# (bench/sdl_baseline.c cross-compiled with the same MinGW-w64, the same
# static SDL2 and the same static runtime, stripped): the sizes of the
# executables, the installer and the zip, and the time from start to the
# window being mapped under Wine with Xvfb (bench/xmapwait.c; median of 10,
# the two programs taking turns, one Wine server kept running so that
# neither pays for starting it).
# Usage: measure_wine.sh [BUILD-WINDOWS]   (default: build-windows)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$(realpath "${1:-build-windows}")
game=$out/pivotwarden.exe
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

PKG_CONFIG_LIBDIR=$out/sdl2/lib/pkgconfig x86_64-w64-mingw32-g++-posix -O2 -s -static \
    -o "$work/baseline.exe" -x c "$here/../sdl_baseline.c" \
    $(PKG_CONFIG_LIBDIR=$out/sdl2/lib/pkgconfig pkg-config --cflags --libs --static sdl2)
cc -O2 -o "$work/xmapwait" "$here/../xmapwait.c" -lX11

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" SDL_AUDIODRIVER=dummy
wine=$(command -v wine64 || command -v wine)
"$wine" wineboot -i >/dev/null 2>&1
wineserver -p 2>/dev/null || true
# One start of each first, so that both find Wine's files in the page cache.
"$work/xmapwait" "$wine" "$game" >/dev/null 2>&1 || true
"$work/xmapwait" "$wine" "$work/baseline.exe" >/dev/null 2>&1 || true

for _ in 1 2 3 4 5 6 7 8 9 10; do
    for program in "$game" "$work/baseline.exe"; do
        echo "$program $("$work/xmapwait" "$wine" "$program" 2>/dev/null)"
        sleep 0.5
    done
done >"$work/mapped"
median() {
    grep -F "$1 " "$work/mapped" | awk '{ print $2 }' | sort -n |
        awk '{ t[NR] = $1 } END { printf "%.1f", (t[5] + t[6]) / 2 }'
}
game_ms=$(median "$game")
base_ms=$(median "$work/baseline.exe")
size() { stat -c %s "$1"; }
kib() { echo "$1" | awk '{ printf "%.0f KiB", $1 / 1024 }'; }
setup=$(ls "$out"/pivotwarden-*-setup.exe)
zip=$(ls "$out"/pivotwarden-*-windows.zip)
echo "| figure | game | trivial SDL2 | ratio |"
echo "|---|---|---|---|"
echo "| executable (static, stripped) | $(kib "$(size "$game")") | $(kib "$(size "$work/baseline.exe")") | $(echo "$(size "$game") $(size "$work/baseline.exe")" | awk '{ printf "%.2fx", $1 / $2 }') |"
echo "| installer | $(kib "$(size "$setup")") | | |"
echo "| zip | $(kib "$(size "$zip")") | | |"
echo "| start to window mapped under Wine, median of 10 | $game_ms ms | $base_ms ms | $(echo "$game_ms $base_ms" | awk '{ printf "%.2fx", $1 / $2 }') |"
echo "load average during the run: $(cut -d' ' -f1-3 /proc/loadavg)"
