#!/bin/sh
# Keyboard play in a real window under Xvfb: `xdotool key` alone starts the
# game and solves the first puzzle. The focus ring is drawn, white between
# dark edges, around the ringed tray weight in window pixels; F11 fills the
# screen and Escape leaves it; M mutes and the choice is stored, except in a
# settings file made read-only, which is kept and said once; the recording
# replays headless to the solved puzzle. F1 shows How to play, with its hand,
# played in the game's own process, and a key or a press gives the game back
# as it was; its time is no part of the puzzle's seconds, and SIGTERM ends
# the game during it.
# Usage: keyboard_test.sh PIVOTWARDEN XCLOSE XPIXEL
set -u
game=$1
xclose=$2
xpixel=$3
seed=11
work=$(mktemp -d)
game_pid=""
xvfb_pid=""
trap 'kill $game_pid $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# The first puzzle of the seed, read from a headless run: level 1 asks for
# the tray weight that carries the grey weight's number, on the other pan.
printf 'pivotwarden-replay 1\nseed %s\nat 1000 down 120 160\nat 1040 up 120 160\nat 1100 end\n' $seed \
    >"$work/peek.replay"
XDG_CONFIG_HOME=$work/peek "$game" --headless --replay "$work/peek.replay" --dump "$work/peek.json" ||
    fail "no headless dump"
grey=$(grep '"grey": true' "$work/peek.json" | sed 's/.*"value": \([0-9]*\),.*"pan": "\([a-z]*\)".*/\1 \2/')
set -- $grey
value=$1 greyPan=$2
home=$(grep '"grey": false' "$work/peek.json" | grep "\"value\": $value," | sed 's/.*"homeX": \([0-9]*\),.*/\1/')
[ -n "$home" ] || fail "no tray weight carries $value"
index=$(( (home - 20) / 30 ))
if [ "$greyPan" = right ]; then towards=Left; else towards=Right; fi

. "$(dirname "$0")/xsession.sh"
start_xvfb

# Without the bar, as the window was before it: How to play's captions go
# to the title (windowed_test.sh plays with the bar).
"$game" --no-bar --seed $seed --record "$work/keys.replay" >"$work/game.log" 2>&1 &
game_pid=$!
wait_for_window "$work/game.log"
sleep 0.3
key() { xdotool key --window "$window" "$@"; sleep 0.3; }

# The window shows the display at twice its size: the first tray weight at
# (40, 560) to (80, 620), the next 60 pixels to the right. Starting by key
# rings the first weight at once.
key Return
pixel_is 37 590 ffffff || fail "no white ring left of the first weight"
pixel_is 35 590 000000 || fail "no dark outer edge on the ring"
pixel_is 39 590 000000 || fail "no dark inner edge on the ring"
key Right
pixel_is 97 590 ffffff || fail "the ring did not move to the second weight"
pixel_is_not 37 590 ffffff || fail "the old ring was not wiped"
key Left
i=0
while [ $i -lt "$index" ]; do key Right; i=$((i + 1)); done
pixel_is $((37 + 60 * index)) 590 ffffff || fail "the ring is not on weight $index"
[ -n "${PW_E2E_SCREENSHOT:-}" ] && import -window "$window" "$PW_E2E_SCREENSHOT"
# The weight is picked up (the puzzle's first press) and How to play is
# watched before it is dropped.
key Return

# F1 plays How to play in the window (how_to_play_shows) from a game in the
# same process, which has no child meanwhile; a key ends it unseen by the
# game, whose picture and settings come back as they were.
settings="$XDG_CONFIG_HOME/Marblequill/Pivotwarden/settings.reg"
settings_now() { cat "$settings" 2>/dev/null || echo "no settings file"; }
settings_now >"$work/before.reg"
no_children() { ! ps -o pid= --ppid "$1" | grep -q .; }
how_to_play_shows
no_children $game_pid || fail "How to play runs in a child process: $(ps -o pid,args --ppid $game_pid)"
key Return
settles same_picture || fail "the player's picture did not come back as it was"
[ "$(xdotool getwindowname "$window")" = "Pivot Warden" ] || fail "the caption stayed"
settings_now | cmp -s - "$work/before.reg" || fail "How to play changed the player's settings"

# A press ends it too, and neither it nor its release, outside the window,
# reaches the game.
key F1
settles other_picture || fail "F1 again showed nothing"
xdotool mousemove --window "$window" 120 300 mousedown 1
settles same_picture || fail "a press did not give the player's picture back"
xdotool mousemove 1000 700 mouseup 1
sleep 0.3
same_picture || fail "the press or its release changed the game"

key $towards Return
sleep 2

key F11
geometry_is 1024x768 || fail "F11 gave $(geometry), not the whole screen"
key Escape
geometry_is 480x640 || fail "Escape gave $(geometry), not the window again"
key m
settles grep -qs '"sound"="0"' "$XDG_CONFIG_HOME/Marblequill/Pivotwarden/settings.reg" || fail "muting was not stored"

"$xclose" "$window"
for _ in $(seq 50); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
wait $game_pid
code=$?
[ $code -eq 0 ] || { head -20 "$work/game.log"; fail "the game ended with $code"; }
grep -q '"score"="48"' "$XDG_CONFIG_HOME/Marblequill/Pivotwarden/settings.reg" ||
    { cat "$work/keys.replay"; fail "the puzzle was not solved by keys"; }
# Played live, the puzzle is a row of the results history (level 1, 24 and
# 24 points, one move at par 1, finished), and the one on the board at the
# close a row marked unfinished.
history="$XDG_DATA_HOME/Marblequill/Pivotwarden/results.csv"
[ "$(grep -c '^2[0-9-]* [0-9:]*,1,24,24,1,1,0,0,[0-9]*\.[0-9],1,$' "$history")" -eq 1 ] &&
    [ "$(tail -n 1 "$history" | cut -d, -f10)" = 0 ] ||
    { cat "$history"; fail "the puzzle solved by keys and the one left are not in the results history"; }
# How to play was shown for seconds between its first press and its balance.
seconds=$(grep '^2[0-9-]* [0-9:]*,1,24,24,' "$history" | cut -d, -f9)
awk -v s="$seconds" 'BEGIN { exit !(s < 3) }' || fail "the puzzle's $seconds seconds include How to play's"
# A settings file the player made read-only is left as it is: play goes on,
# and the game says once that it cannot save.
chmod 444 "$settings"
cp "$settings" "$work/kept.reg"
"$game" >"$work/readonly.log" 2>&1 &
game_pid=$!
wait_for_window "$work/readonly.log"
sleep 0.3
key m
key m
key m
"$xclose" "$window"
for _ in $(seq 50); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
wait $game_pid
code=$?
[ $code -eq 0 ] || { head -20 "$work/readonly.log"; fail "with read-only settings the game ended with $code"; }
cmp -s "$settings" "$work/kept.reg" || fail "the read-only settings file was replaced"
[ "$(grep -c "cannot save the settings" "$work/readonly.log")" -eq 1 ] && grep -q "read-only" "$work/readonly.log" ||
    { cat "$work/readonly.log"; fail "the read-only settings file was not said once"; }
"$game" --headless --replay "$work/keys.replay" --dump "$work/replayed.json" || fail "the recording does not replay"
grep -q '"score": 48' "$work/replayed.json" ||
    { cat "$work/keys.replay"; fail "the recording of keyboard play does not replay to the solved puzzle"; }

# SIGTERM during How to play ends the game at once, as the close does.
"$game" --no-bar >"$work/term.log" 2>&1 &
game_pid=$!
wait_for_window "$work/term.log"
sleep 0.3
key F1
settles title_has "Drag a yellow weight onto a pan" || fail "F1 showed no caption before SIGTERM"
kill -TERM $game_pid
for _ in $(seq 20); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $game_pid 2>/dev/null && fail "SIGTERM during How to play did not end the game within 2 s"
wait $game_pid
code=$?
[ $code -eq 0 ] || { head -20 "$work/term.log"; fail "SIGTERM during How to play ended the game with $code"; }
echo "keyboard game: solved by keys (weight $index to the ${towards} pan), ring drawn and wiped, How to play shown in process with its hand and ended by a key or a press, its time left out of the puzzle's seconds, SIGTERM during it, full screen on and off, muting kept, read-only settings left alone and said once, recording replays"
