#!/bin/sh
# A long replay against a short one: time and peak resident memory of a
# headless 10,000-puzzle replay beside a 10-puzzle one (both autoplayed from
# seed 7), three runs each, with the goals beside them.
# Usage: bench/replay_scale.sh [BUILD-DIR] [PUZZLES]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
long=${2:-10000}
game=$build/pivotwarden
autoplay=$build/tools/pw_autoplay
for f in "$game" "$autoplay"; do
    [ -x "$f" ] || { echo "missing $f: build with scripts/build.sh $build" >&2; exit 2; }
done
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
echo "date: $(date -u '+%Y-%m-%d %H:%M UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg)"
for n in 10 "$long"; do
    "$autoplay" --seed 7 --puzzles "$n" --out "$work/$n.replay" >"$work/$n.expected"
    expected=$(sed -n 's/.*score \([0-9]*\) level \([0-9]*\).*/"score": \1, "level": \2/p' "$work/$n.expected")
    echo "== $n puzzles: $(wc -l <"$work/$n.replay") lines, $(($(wc -c <"$work/$n.replay") / 1024)) KiB; expected $expected"
    for run in 1 2 3; do
        /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$game" --headless --replay "$work/$n.replay" \
            --dump "$work/$n.json"
        tr -d '\n' <"$work/$n.json" | sed 's/[[:space:]]*:[[:space:]]*/: /g; s/,[[:space:]]*/, /g' |
            grep -q "$expected" || { echo "the replay did not end at $expected" >&2; exit 1; }
        read -r wall user sys peak <"$work/time"
        echo "run $run: $wall s wall, $user s user, $sys s system, peak resident $peak KiB"
        echo "$wall $peak" >>"$work/$n.runs"
    done
done
median() { sort -n | sed -n 2p; }
short_peak=$(cut -d' ' -f2 "$work/10.runs" | median)
long_peak=$(cut -d' ' -f2 "$work/$long.runs" | median)
long_wall=$(cut -d' ' -f1 "$work/$long.runs" | median)
echo "== summary (medians of 3)"
echo "$long-puzzle replay: $long_wall s wall (goal under 5 s)"
echo "peak resident: $short_peak KiB at 10 puzzles, $long_peak KiB at $long: +$((long_peak - short_peak)) KiB (goal within 1024 KiB)"
