#!/bin/sh
# Idle CPU and resident memory of the game in its window, over 10 seconds,
# read from /proc/PID/stat and /proc/PID/status. Runs under its own Xvfb
# unless DISPLAY is already set. Usage: measure_window.sh [PIVOTWARDEN] [SECONDS]
set -eu
game=${1:-build/pivotwarden}
seconds=${2:-10}
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -n "${game_pid:-}" ] && kill "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=":$(( 500 + $$ % 400 ))"
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    sleep 1
fi
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
"$game" 2>/dev/null &
game_pid=$!
sleep 2  # let start-up settle: the start sound, the first paint
hz=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$game_pid/stat"; }
before=$(cpu)
sleep "$seconds"
after=$(cpu)
rss=$(awk '/^VmRSS/ {print $2}' "/proc/$game_pid/status")
hwm=$(awk '/^VmHWM/ {print $2}' "/proc/$game_pid/status")
echo "idle CPU over ${seconds} s: $(echo "$before $after $hz $seconds" | awk '{printf "%.2f", ($2 - $1) * 100 / $3 / $4}')% of one core"
echo "resident memory: $(echo "$rss" | awk '{printf "%.1f", $1 / 1024}') MiB (peak $(echo "$hwm" | awk '{printf "%.1f", $1 / 1024}') MiB)"
