#!/bin/sh
# The game in a real window under Xvfb: the window opens at 480 x 640, a
# click on the title switches to the game, a second copy exits with 0 within
# a second (PW_SECOND_COPY_MS, for a slower build) and leaves one window, one
# started while the first is stopped says it does not answer, and closing
# the window ends the game with 0; so does SIGTERM, with or without an error
# output, and also while the game waits on a recording no one reads; the
# sound library's complaints do not reach the terminal.
# A drag goes on outside the window until its release.
# The window survives any size, showing the picture fitted with black bars.
# With --no-bar the window is the bare picture; by default a bar below it
# shows the level and the controls Sound, How to play and Progress, each a
# click that acts as its key, and How to play's captions; the picture above
# it is the bare window's to the byte.
# Usage: windowed_test.sh PIVOTWARDEN XCLOSE XPIXEL
set -u
game=$1
xclose=$2
xpixel=$3
work=$(mktemp -d)
game_pid=""
xvfb_pid=""
trap 'kill $game_pid $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# With no display to open the game says which it looked for and ends with 2.
DISPLAY=:65000 WAYLAND_DISPLAY='' XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work/config" "$game" 2>"$work/nodisplay.log"
code=$?
if [ $code -ne 2 ] || ! grep -q "no display could be opened.*DISPLAY is ':65000'" "$work/nodisplay.log"; then
    cat "$work/nodisplay.log"
    fail "without a display the game ended with $code"
fi

. "$(dirname "$0")/xsession.sh"
start_xvfb

"$game" --no-bar --seed 7 --record "$work/game.replay" --dump "$work/live.json" >"$work/game.log" 2>&1 &
game_pid=$!
wait_for_window "$work/game.log"
geometry_is 480x640 || fail "window is $(geometry), expected 480x640"
sleep 0.5
"$xpixel" "$window" -o "$work/bare.ppm" || fail "cannot read the window"

xdotool mousemove --window "$window" 100 100 click 1
sleep 0.3
# Drag the first tray weight (display 30, 295; the window is scaled by 2) onto
# the right pan.
xdotool mousemove --window "$window" 60 590 mousedown 1
sleep 0.1
for step in 500 400 300 260; do
    xdotool mousemove --window "$window" 380 "$step"
    sleep 0.05
done
xdotool mouseup 1
sleep 0.3
# A drag that leaves the window goes on outside it (at the picture's edge)
# until its release there: the second tray weight, out past the right edge,
# up, down and let go.
xdotool mousemove --window "$window" 120 590 mousedown 1
for point in "300 500" "700 100" "700 700"; do
    # shellcheck disable=SC2086
    xdotool mousemove --window "$window" $point
    sleep 0.05
done
xdotool mouseup 1
sleep 0.3
[ -n "${PW_E2E_SCREENSHOT:-}" ] && import -window "$window" "$PW_E2E_SCREENSHOT"

# Any window size: smaller than the display in either direction the picture
# is scaled down to fit; the bars around it are black after every resize.
resize() {  # resize W H: waits until the window has that size
    xdotool windowmove "$window" 0 0 windowsize "$window" "$1" "$2"
    geometry_is "$1x$2" || fail "the window did not come to $1x$2"
    sleep 0.3
    kill -0 $game_pid 2>/dev/null || { grep -v ALSA "$work/game.log" | head -5; fail "the game died at $1x$2"; }
}
resize 480 300   # picture 225 x 300 in the middle
pixel_is 20 150 000000 || fail "left bar at 480x300 is $("$xpixel" "$window" 20 150), not black"
pixel_is_not 240 150 000000 || fail "no picture at 480x300"
resize 200 150
resize 1000 700  # scaled by 2: 480 x 640 at (260, 30)
for point in "100 350" "900 350" "500 10" "500 690" "259 350"; do
    # shellcheck disable=SC2086
    pixel_is $point 000000 || fail "bar at $point of 1000x700 is not black"
done
pixel_is_not 500 350 000000 || fail "no picture at 1000x700"
resize 480 640

start=$(date +%s%N)
"$game" >/dev/null 2>&1
second=$?
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
[ $second -eq 0 ] || fail "second copy exited with $second"
limit=${PW_SECOND_COPY_MS:-1000}
[ $elapsed -lt "$limit" ] || fail "second copy took $elapsed ms, more than $limit ms"
count=$(xdotool search --name "Pivot Warden" | wc -l)
[ "$count" -eq 1 ] || fail "$count windows after the second copy"
kill -0 $game_pid 2>/dev/null || fail "the first copy ended"
# A stopped first copy cannot raise its window: the next copy says so
# rather than leaving with 0 as if it had.
kill -STOP $game_pid
"$game" >/dev/null 2>"$work/stopped.log"
second=$?
kill -CONT $game_pid
[ $second -eq 2 ] && grep -q "does not answer" "$work/stopped.log" ||
    { cat "$work/stopped.log"; fail "with the first copy stopped the next ended with $second"; }

"$xclose" "$window"
for _ in $(seq 50); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $game_pid 2>/dev/null && fail "the game did not end after the close request"
wait $game_pid
code=$?
[ $code -eq 0 ] || { grep -v ALSA "$work/game.log" | head -20; fail "the game ended with $code"; }
grep -q "down" "$work/game.replay" || fail "the click was not recorded"
grep -q "end" "$work/game.replay" || fail "the recording has no end"
grep -q "move 239 50$" "$work/game.replay" && grep -q "up 239 319$" "$work/game.replay" ||
    { cat "$work/game.replay"; fail "a drag outside the window lost its moves or its release there"; }
# rows FILE FIRST COUNT: those rows of a 480-wide picture xpixel wrote.
rows() { tail -c +$(($(head -3 "$1" | wc -c) + 1 + $2 * 1440)) "$1" | head -c $(($3 * 1440)); }
same_rows() { [ "$(rows "$1" "$3" "$4" | cksum)" = "$(rows "$2" "$3" "$4" | cksum)" ]; }
# The window with its bar: 76 rows more (38 display rows at scale 2).
"$game" --seed 7 >"$work/bar.log" 2>&1 &
game_pid=$!
wait_for_window "$work/bar.log"
geometry_is 480x716 || fail "the window with its bar is $(geometry), expected 480x716"
sleep 0.5
"$xpixel" "$window" -o "$work/title.ppm" || fail "cannot read the window"
same_rows "$work/bare.ppm" "$work/title.ppm" 0 640 || fail "the picture above the bar is not the bare window's"
pixel_is 2 700 161e36 || fail "no bar below the picture: $("$xpixel" "$window" 2 700)"
xdotool mousemove --window "$window" 100 100 click 1
sleep 0.3
"$xpixel" "$window" -o "$work/level1.ppm"
# The level in the bar's top row follows the stored level: the options
# panel's Up and OK make it level 2.
for k in o Up Return; do xdotool key --window "$window" $k; sleep 0.3; done
level_moved() { "$xpixel" "$window" -o "$work/level2.ppm" && ! same_rows "$work/level1.ppm" "$work/level2.ppm" 640 34; }
settles level_moved || fail "the bar's level did not change with the level"
same_rows "$work/level1.ppm" "$work/level2.ppm" 674 42 || fail "the bar's controls changed with the level"
# Sound: a click on it stores the choice as M does.
xdotool mousemove --window "$window" 80 694 click 1
settles grep -qs '"sound"="0"' "$XDG_CONFIG_HOME/Marblequill/Pivotwarden/settings.reg" || fail "the bar's Sound did not mute"
# How to play: its caption shows in the bar, the title stays the game's.
sleep 0.3
"$xpixel" "$window" -o "$work/muted.ppm"
xdotool mousemove --window "$window" 240 694 click 1
caption_shown() { "$xpixel" "$window" -o "$work/caption.ppm" && ! same_rows "$work/muted.ppm" "$work/caption.ppm" 640 34; }
settles caption_shown || fail "How to play's caption is not in the bar"
[ "$(xdotool getwindowname "$window")" = "Pivot Warden" ] || fail "the caption went to the title: $(xdotool getwindowname "$window")"
[ -n "${PW_E2E_BAR_SCREENSHOT:-}" ] && import -window "$window" "$PW_E2E_BAR_SCREENSHOT"
xdotool key --window "$window" Escape
caption_gone() { "$xpixel" "$window" -o "$work/caption.ppm" && same_rows "$work/muted.ppm" "$work/caption.ppm" 640 34; }
settles caption_gone || fail "the bar did not give the level back after How to play"
# Full screen (1024 x 768): scaled by 2 with the bar below, both centred.
xdotool key --window "$window" F11
geometry_is 1024x768 || fail "F11 gave $(geometry)"
pixel_is 274 668 161e36 || fail "no bar below the full-screen picture: $("$xpixel" "$window" 274 668)"
pixel_is 270 668 000000 || fail "the full-screen bar is not centred under the picture"
kill -TERM $game_pid
wait $game_pid
# SIGTERM ends the game as the close button does, however long it has slept.
# With the machine's sound system (here without a sound card) the game says
# at most its own line about it, none of the sound library's.
SDL_AUDIODRIVER=alsa "$game" >"$work/term.log" 2>&1 &
game_pid=$!
wait_for_window "$work/term.log"
sleep 1
kill -TERM $game_pid
for _ in $(seq 30); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $game_pid 2>/dev/null && fail "the game did not end on SIGTERM"
wait $game_pid
code=$?
[ $code -eq 0 ] || fail "the game ended with $code on SIGTERM"
[ "$(wc -l <"$work/term.log")" -le 1 ] && ! grep -q "^ALSA lib" "$work/term.log" ||
    { cat "$work/term.log"; fail "the sound system's complaints reach the terminal"; }
# With its error output closed the game still plays and ends on SIGTERM:
# what it says (here that no folder serves the one-copy check) must not go
# into the display's connection, which would then take the descriptor.
mkdir -p "$work/shared/pivotwarden" && chmod 755 "$work/shared/pivotwarden"
: >"$work/not-a-folder"
XDG_RUNTIME_DIR="$work/shared" XDG_CACHE_HOME="$work/not-a-folder" "$game" 2>&- &
game_pid=$!
wait_for_window /dev/null
kill -TERM $game_pid
for _ in $(seq 30); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $game_pid 2>/dev/null && fail "with its error output closed the game did not end on SIGTERM"
wait $game_pid
code=$?
[ $code -eq 0 ] || fail "with its error output closed the game ended with $code"
# A recording into a FIFO whose reader holds it open but never reads: once
# the pipe (cut to one page) is full the game waits, yet SIGTERM still ends
# it, and the unwritten recording is reported.
mkfifo "$work/held"
perl -e 'open(my $f, "+<", $ARGV[0]) or die; fcntl($f, 1031, 4096); sleep 60' "$work/held" &
holder=$!
sleep 0.2
"$game" --record "$work/held" >"$work/held.log" 2>&1 &
game_pid=$!
wait_for_window "$work/held.log"
# Clicks, not one long drag: moves that queue up behind one another are
# merged into the last, but every press and release is recorded.
clicks=""
for step in $(seq 100 350); do clicks="$clicks mousemove --window $window $((step % 400 + 40)) 300 mousedown 1 mouseup 1"; done
# shellcheck disable=SC2086
xdotool $clicks
sleep 0.5
kill -TERM $game_pid
for _ in $(seq 30); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $game_pid 2>/dev/null && { kill $holder; fail "the game waiting on a full FIFO did not end on SIGTERM"; }
wait $game_pid
code=$?
kill $holder
[ $code -eq 2 ] && grep -q "asked to end while the reader was not reading" "$work/held.log" ||
    { cat "$work/held.log"; fail "the game waiting on a full FIFO ended with $code"; }
# The recording plays back headless to the same screen.
"$game" --headless --replay "$work/game.replay" --dump "$work/replayed.json" || fail "the recording does not replay"
grep -q '"screen": "game"' "$work/replayed.json" || fail "the replayed recording does not reach the game"
grep '"grey": false' "$work/replayed.json" | grep -q '"pan": "right"' ||
    { cat "$work/game.replay"; grep Weight "$work/replayed.json"; fail "the dragged weight is not on the right pan after the replay"; }
# The live game's dump is of its last screen, as the replay's is.
cmp -s "$work/live.json" "$work/replayed.json" || { diff "$work/live.json" "$work/replayed.json" | head; fail "the live dump differs from the replayed one"; }
echo "windowed game: window 480x640, any size fits, click recorded, second copy in ${elapsed} ms, closed with 0"
