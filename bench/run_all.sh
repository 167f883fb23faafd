#!/bin/sh
# Every benchmark and whole-process figure, with the goals beside them:
#   pw_bench (composition and repaint against a memcpy floor, level set-up,
#   drags, random pen events); start-up to the first composed frame, headless;
#   start to the mapped window under Xvfb; peak resident memory of a headless
#   1,000-puzzle replay and of the windowed game; idle CPU of the windowed game;
#   bursts of synthetic input.
# Usage: bench/run_all.sh [BUILD-DIR]   (a build made with -DPW_BUILD_BENCH=ON)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build-bench}
game=$build/pivotwarden
for f in "$game" "$build/bench/pw_bench" "$build/tools/pw_autoplay"; do
    [ -x "$f" ] || { echo "missing $f: build with scripts/build.sh $build -DPW_BUILD_BENCH=ON" >&2; exit 2; }
done
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
echo "date: $(date -u '+%Y-%m-%d %H:%M UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg)"

echo "== pw_bench"
"$build/bench/pw_bench" --benchmark_min_time=0.5 --benchmark_color=false

echo "== start-up to the first composed frame, headless (goal under 100 ms)"
if command -v hyperfine >/dev/null 2>&1; then
    hyperfine -N --warmup 3 --runs 30 --style basic \
        "$game --headless --screenshot $work/first.png" 2>&1 | sed -n '/Time/,/Range/p'
else
    runs=20 total=0
    for _ in $(seq $runs); do
        start=$(date +%s%N)
        "$game" --headless --screenshot "$work/first.png" 2>/dev/null
        total=$((total + $(date +%s%N) - start))
    done
    echo "mean over $runs runs: $((total / runs / 1000)) us"
fi

echo "== peak resident memory, headless 1,000-puzzle replay (goal under 20 MiB)"
"$build/tools/pw_autoplay" --seed 1 --puzzles 1000 --out "$work/1000.replay"
rm -rf "$XDG_CONFIG_HOME"
/usr/bin/time -f "%M KB peak resident, %e s wall" "$game" --headless --replay "$work/1000.replay" \
    --dump "$work/1000.json" 2>&1 | awk '/peak resident/ {printf "peak resident %.1f MiB (%s KB), replay took %s s\n", $1 / 1024, $1, $5}'
grep -o '"score": *[0-9]*' "$work/1000.json" || true

if command -v Xvfb >/dev/null 2>&1; then
    if [ -z "${DISPLAY:-}" ]; then
        export DISPLAY=":$(( 500 + $$ % 400 ))"
        Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        xvfb_pid=$!
        sleep 1
    fi
    echo "== start to mapped window under Xvfb (goal under 60 ms)"
    if [ -x "$build/bench/pw_xmapwait" ]; then
        times=""
        for _ in 1 2 3 4 5 6 7 8 9 10; do
            rm -rf "$XDG_CONFIG_HOME"
            times="$times $("$build/bench/pw_xmapwait" "$game" 2>/dev/null)"
        done
        echo "$times" | tr ' ' '\n' | sed '/^$/d' | sort -n | awk '
            { t[NR] = $1; sum += $1 }
            END { printf "10 runs: min %.1f ms, median %.1f ms, mean %.1f ms\n", t[1], (t[5] + t[6]) / 2, sum / NR }'
    fi
    echo "== windowed game beside a trivial SDL2 program: start, memory, libraries, idle wake-ups and CPU"
    sh bench/measure_window.sh "$game" 20
    echo "== bursts of 60,000 synthetic X events: absorbed (goal under 2 s), SIGTERM during one (goal within 100 ms)"
    sh bench/input_flood.sh 60000 3 "$game"
else
    echo "no Xvfb: window figures skipped"
fi
