# shellcheck shell=sh disable=SC2154
# Sourced by the tests that play the game in a real window. The sourcing
# script provides $work (its scratch folder) and fail(), and kills xvfb_pid
# when it exits.

# Starts Xvfb on a display it picks itself (xvfb_pid is its process) and
# points the game at it, with its settings and runtime folders in $work and
# no sound device. The server never resets: by default it resets each time
# its last client leaves, and a client that connects meanwhile (the game,
# started as xdpyinfo here leaves) is turned away, more often the busier the
# machine.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    # shellcheck disable=SC2034
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
    [ -s "$work/display" ] || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
    DISPLAY=":$(cat "$work/display")"
    export DISPLAY XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run" \
        SDL_AUDIODRIVER=dummy
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    settles display_up && return 0
    xdpyinfo 2>&1 | head -5
    tail -20 "$work/xvfb.log"
    fail "Xvfb on $DISPLAY takes no clients"
}

# wait_for_window LOG: waits up to 30 s for the game's window (game_pid)
# and sets window to it; without one, shows the start of the game's LOG and
# the X server's, and fails.
wait_for_window() {
    window=""
    for _ in $(seq 300); do
        window=$(xdotool search --name "Pivot Warden" 2>/dev/null | head -1)
        [ -n "$window" ] && return 0
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.1
    done
    grep -v ALSA "$1" | head -20
    tail -20 "$work/xvfb.log"
    fail "no window appeared"
}

# settles CHECK [ARGS...]: whether the command comes to succeed within 5 s:
# the game answers input on its own time, later on a busy machine.
settles() {
    for _ in $(seq 50); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# pixel_is X Y COLOUR, pixel_is_not X Y COLOUR: whether the window's pixel at
# X, Y (read by $xpixel) comes to be, or not to be, COLOUR.
pixel_now() { [ "$("$xpixel" "$window" "$1" "$2")" = "$3" ]; }
pixel_other() { ! pixel_now "$@"; }
pixel_is() { settles pixel_now "$@"; }
pixel_is_not() { settles pixel_other "$@"; }

display_up() { xdpyinfo >/dev/null 2>&1; }

# geometry_is WxH: whether the window comes to that size.
geometry() { xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p'; }
geometry_now() { [ "$(geometry)" = "$1" ]; }
geometry_is() { settles geometry_now "$1"; }
