#!/bin/sh
# The windowed game beside a trivial SDL2 program (bench/sdl_baseline.c, built
# here), in one run under one Xvfb: start to window mapped (median of 10, the
# two programs taking turns),
# resident memory (RSS) and its proportional share (PSS: shared pages divided
# among the processes mapping them, from /proc/PID/smaps_rollup), shared
# libraries mapped, and, while idle, wake-ups
# (context switches of all threads, from /proc/PID/task/*/status) and CPU
# (from /proc/PID/stat) on the title and on the game screen.
# Usage: measure_window.sh [PIVOTWARDEN] [IDLE-SECONDS]   (defaults: build/pivotwarden, 20)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
game=$(realpath "${1:-build/pivotwarden}")
seconds=${2:-20}
work=$(mktemp -d)
xvfb_pid="" pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
cc -O2 -o "$work/baseline" "$here/sdl_baseline.c" $(pkg-config --cflags --libs sdl2)
cc -O2 -o "$work/xmapwait" "$here/xmapwait.c" -lX11
if [ -z "${DISPLAY:-}" ]; then
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
    export DISPLAY=":$(cat "$work/display")"
fi
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
hz=$(getconf CLK_TCK)

# Start to mapped window, game and baseline taking turns so that both see the
# same load: prints the two medians of 10 starts each, in ms.
mapped_both() {
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        for program in "$game" "$work/baseline"; do
            rm -rf "$XDG_CONFIG_HOME"
            echo "$program $("$work/xmapwait" "$program" 2>/dev/null)"
            sleep 0.2
        done
    done >"$work/mapped"
    for program in "$game" "$work/baseline"; do
        grep -F "$program " "$work/mapped" | awk '{ print $2 }' | sort -n |
            awk '{ t[NR] = $1 } END { printf "%.1f ", (t[5] + t[6]) / 2 }'
    done
}
start() {  # start NAME PROGRAM...: runs it until its window is there, then lets it settle
    name=$1
    shift
    "$@" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 100); do xdotool search --name "$name" >/dev/null 2>&1 && break; sleep 0.1; done
    sleep 2
}
stop() { kill "$pid"; wait "$pid" 2>/dev/null || true; pid=""; }
switches() { cat /proc/"$pid"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n }'; }
cpu_ticks() { awk '{ print $14 + $15 }' /proc/"$pid"/stat; }
rss_kib() { awk '/^VmRSS/ { print $2 }' /proc/"$pid"/status; }
pss_kib() { awk '/^Pss:/ { print $2 }' /proc/"$pid"/smaps_rollup; }
libraries() { awk '$6 ~ /\.so/ { print $6 }' /proc/"$pid"/maps | sort -u | wc -l; }
idle() {  # wake-ups and CPU % over the idle time
    s0=$(switches) c0=$(cpu_ticks)
    sleep "$seconds"
    s1=$(switches) c1=$(cpu_ticks)
    echo "$((s1 - s0)) $(echo "$c0 $c1 $hz $seconds" | awk '{ printf "%.3f", ($2 - $1) * 100 / $3 / $4 }')"
}

set -- $(mapped_both)
game_mapped=$1 base_mapped=$2

start "sdl-baseline" "$work/baseline"
base_rss=$(rss_kib) base_pss=$(pss_kib) base_libs=$(libraries)
set -- $(idle)
base_wakes=$1 base_cpu=$2
stop

rm -rf "$XDG_CONFIG_HOME"
start "Pivot Warden" "$game"
game_rss=$(rss_kib) game_pss=$(pss_kib) game_libs=$(libraries)
set -- $(idle)
title_wakes=$1 title_cpu=$2
window=$(xdotool search --name "Pivot Warden" | head -1)
xdotool mousemove --window "$window" 100 100 click 1
sleep 2
set -- $(idle)
board_wakes=$1 board_cpu=$2
game_rss_after=$(rss_kib) game_pss_after=$(pss_kib)
stop

ratio() { echo "$1 $2" | awk '{ printf "%.2f", $1 / $2 }'; }
mib() { echo "$1" | awk '{ printf "%.1f", $1 / 1024 }'; }
echo "| figure | game | trivial SDL2 | ratio | goal |"
echo "|---|---|---|---|---|"
echo "| start to window mapped, median of 10 | $game_mapped ms | $base_mapped ms | $(ratio "$game_mapped" "$base_mapped")x | at most 1.3x |"
echo "| resident memory (RSS), 2 s after the window | $(mib "$game_rss") MiB | $(mib "$base_rss") MiB | $(ratio "$game_rss" "$base_rss")x | at most 1.3x |"
echo "| proportional memory (PSS), 2 s after the window | $(mib "$game_pss") MiB | $(mib "$base_pss") MiB | $(ratio "$game_pss" "$base_pss")x | at most 1.3x |"
echo "| shared libraries mapped | $game_libs | $base_libs | $(ratio "$game_libs" "$base_libs")x | at most 1.2x |"
echo "| wake-ups idle over $seconds s, title | $title_wakes | $base_wakes | | none |"
echo "| wake-ups idle over $seconds s, game screen | $board_wakes | $base_wakes | | none |"
echo "| idle CPU over $seconds s, title / game screen | $title_cpu% / $board_cpu% | $base_cpu% | | at most the baseline's |"
echo "| resident memory (RSS) on the game screen, 2 s after the change | $(mib "$game_rss_after") MiB | $(mib "$base_rss") MiB | $(ratio "$game_rss_after" "$base_rss")x | at most 1.3x |"
echo "| proportional memory (PSS) on the game screen | $(mib "$game_pss_after") MiB | $(mib "$base_pss") MiB | $(ratio "$game_pss_after" "$base_pss")x | at most 1.3x |"
