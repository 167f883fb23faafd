#!/bin/sh
# Input floods: each game given is sent bursts of synthetic X events
# (bench/xflood.c) under one Xvfb, the games taking turns, and the medians
# of RUNS bursts per kind are printed: the time to absorb a burst of COUNT
# events, and the time SIGTERM takes to end the game during a second burst.
# Usage: input_flood.sh [COUNT] [RUNS] PIVOTWARDEN...   (defaults: 60000, 3)
# Goals: a burst absorbed in under 2 s, SIGTERM acting within 100 ms. The
# games run without their bar: the flood's presses would otherwise press its
# Progress and How to play buttons, and each would open a browser.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
count=${1:-60000}
runs=${2:-3}
if [ $# -ge 2 ]; then shift 2; else shift $#; fi
[ $# -gt 0 ] || set -- build/pivotwarden
"$here/../scripts/install-deps.sh" libx11-dev libxtst-dev xvfb >/dev/null
work=$(mktemp -d)
xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
cc -O2 -o "$work/xflood" "$here/xflood.c" -lX11 -lXtst
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")" XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
echo "| burst of $count | game | absorbed (ms, median of $runs) | SIGTERM to exit (ms) |"
echo "|---|---|---|---|"
for kind in keys mixed motion xtest; do
    : >"$work/$kind"
    for _ in $(seq "$runs"); do
        n=0
        for game in "$@"; do
            n=$((n + 1))
            rm -rf "$XDG_CONFIG_HOME"
            echo "$n $("$work/xflood" "$count" "$kind" "$game" --no-bar 2>/dev/null || echo "-1 -1")" >>"$work/$kind"
        done
    done
    n=0
    for game in "$@"; do
        n=$((n + 1))
        absorbed=$(awk -v n=$n '$1 == n { print $2 }' "$work/$kind" | median)
        term=$(awk -v n=$n '$1 == n { print $3 }' "$work/$kind" | median)
        echo "| $kind | $game | $absorbed | $term |"
    done
done
