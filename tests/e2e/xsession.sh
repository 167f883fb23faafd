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

# How to play (needs $xpixel): same_picture and other_picture compare the
# window with $work/before.ppm; title_has TEXT reads the window's title.
same_picture() { "$xpixel" "$window" -o "$work/now.ppm" && cmp -s "$work/now.ppm" "$work/before.ppm"; }
other_picture() { ! same_picture; }
title_has() { xdotool getwindowname "$window" | grep -q "$1"; }
# how_to_play_shows: takes the picture into $work/before.ppm, then F1 shows
# other pictures, the first caption in the title, and, at the first
# recording's last release (display 190, 135), the next caption and the hand
# drawn there, where it lies a while under the fingertip; the caller ends it.
how_to_play_shows() {
    "$xpixel" "$window" -o "$work/before.ppm" || fail "cannot read the window"
    xdotool key --window "$window" F1 2>/dev/null
    settles other_picture || fail "F1 showed nothing"
    settles title_has "Drag a yellow weight onto a pan" || fail "F1 gave no caption: $(xdotool getwindowname "$window")"
    moved=""
    for _ in $(seq 150); do title_has "Make both sides weigh the same" && moved=yes && break; sleep 0.1; done
    [ -n "$moved" ] || fail "How to play's caption did not move on: $(xdotool getwindowname "$window")"
    [ "$("$xpixel" "$window" 381 271 381 268 | tr '\n' ' ')" = "ffdead 000000 " ] ||
        fail "no hand at the recorded stylus: $("$xpixel" "$window" 381 271 381 268 | tr '\n' ' ')"
    [ -z "${PW_E2E_HOW_SCREENSHOT:-}" ] || "$xpixel" "$window" -o "$PW_E2E_HOW_SCREENSHOT"
}

# geometry_is WxH: whether the window comes to that size.
geometry() { xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p'; }
geometry_now() { [ "$(geometry)" = "$1" ]; }
geometry_is() { settles geometry_now "$1"; }
