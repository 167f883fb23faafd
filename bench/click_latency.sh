#!/bin/sh
# Click to changed pixel, the game beside a bare SDL2 window that repaints
# on release (bench/sdl_baseline.c), under one Xvfb, taking turns: each run
# clicks ROUNDS times (bench/xclick.c) and the median, p90 and worst of
# each run are printed. The game is clicked on its options panel's
# "Reset Score" box, which every release ticks or clears (and which, unlike
# "Automatic Leveling", writes no settings: a settings write waits for the
# disk before the tick is drawn).
# Usage: click_latency.sh [ROUNDS] [RUNS] [PIVOTWARDEN]   (defaults: 60, 3, build/pivotwarden)
# Goal: the game's p90 within 1.5x the bare window's.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
rounds=${1:-60}
runs=${2:-3}
game=${3:-build/pivotwarden}
"$here/../scripts/install-deps.sh" libx11-dev libxtst-dev libsdl2-dev xvfb >/dev/null
work=$(mktemp -d)
xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
cc -O2 -o "$work/xclick" "$here/xclick.c" -lX11 -lXtst
cc -O2 -o "$work/baseline" "$here/sdl_baseline.c" $(pkg-config --cflags --libs sdl2)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")" XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
export XDG_DATA_HOME=$work/data SDL_AUDIODRIVER=dummy
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

echo "| run | game: median, p90, worst (ms) | bare SDL2 window: median, p90, worst (ms) | p90 ratio (goal at most 1.5x) |"
echo "|---|---|---|---|"
for run in $(seq "$runs"); do
    rm -rf "$XDG_CONFIG_HOME"
    # At scale 2: the title's middle, the options button, then the box.
    g=$("$work/xclick" "$rounds" 60,320 240,320 30,30 -- "$game" --scale 2)
    b=$("$work/xclick" "$rounds" 240,320 -- "$work/baseline")
    ratio=$(echo "$g $b" | awk '{ printf "%.2fx", ($5 > 0.05 ? $2 / $5 : $2 / 0.05) }')
    echo "| $run | $g | $b | $ratio |"
done
