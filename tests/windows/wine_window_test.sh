#!/bin/sh
# The Windows build in a window, under Wine with Xvfb: without a console a
# problem shows in a message box; the window opens at
# 480 x 640, a click on the title shows the game, a drag by the mouse moves
# a weight and solves the puzzle the autoplayer solved, F11 fills the screen
# and gives the window back, F1 plays How to play in the window with its
# hand and caption until a key gives the game back as it was, a second
# copy exits with 0 and leaves one
# window, the close icon ends the game with 0, and the score is then found
# in Wine's registry, as a string value that replaced a number stored by
# hand. The recording made under Windows replays on Linux to
# the same score.
# Usage: wine_window_test.sh PIVOTWARDEN.EXE LINUX-PIVOTWARDEN PW_AUTOPLAY
set -u
exe=$(realpath "$1")
linux=$(realpath "$2")
autoplay=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
game_pid=""
xvfb_pid=""
trap 'kill $game_pid 2>/dev/null; stop_wine; kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cc -O2 -o "$work/xpixel" "$here/../e2e/xpixel.c" -lX11 || fail "cannot build xpixel"
cc -O2 -o "$work/xclose" "$here/../e2e/xclose.c" -lX11 || fail "cannot build xclose"
xpixel=$work/xpixel
. "$here/../e2e/xsession.sh"
. "$here/wine.sh"
start_xvfb
start_wine

# Started without a console, as from the Start menu, the game shows a
# problem in a message box, and ends with 2 once it is dismissed.
"$wine" start /wait /unix "$exe" --no-such-option &
box_pid=$!
box=""
for _ in $(seq 100); do
    box=$(xdotool search --name "Pivot Warden" 2>/dev/null | head -1)
    [ -n "$box" ] && break
    sleep 0.1
done
[ -n "$box" ] || fail "no message box for a bad option"
window=$box
[ "$(geometry)" != 480x640 ] || fail "the game's window opened instead of a message box"
for _ in $(seq 50); do
    kill -0 $box_pid 2>/dev/null || break
    xdotool key --window "$box" Return 2>/dev/null
    sleep 0.1
done
wait $box_pid
code=$?
[ $code -eq 2 ] || fail "the bad option ended with $code after the message box"

# One puzzle solved by stylus: a click on the title, then drags.
"$autoplay" --seed 7 --puzzles 1 --out "$work/solve.replay" >"$work/expected.txt" || fail "the autoplayer failed"
expected=$(sed -n 's/.*expected from fresh settings: score \([0-9]*\).*/\1/p' "$work/expected.txt")
[ -n "$expected" ] && [ "$expected" -gt 0 ] || { cat "$work/expected.txt"; fail "no expected score"; }

# A score stored by hand as a number, not as the game's string, reads as
# missing (the game starts from 0) and is replaced by the string it writes.
"$wine" reg add 'HKCU\Software\Marblequill\Pivotwarden' /v score /t REG_DWORD /d 500 /f >/dev/null 2>&1 ||
    fail "cannot store the number"

# What the shell opens a page with is noted instead of started. Wine set up
# without its browser engine leaves .html without the association every
# Windows has.
"$wine" reg add 'HKCR\.html' /ve /d htmlfile /f >/dev/null 2>&1 || fail "cannot associate .html"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s/opened.txt"\n' "$work" >"$work/browser.sh"
chmod +x "$work/browser.sh"
"$wine" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$work/browser.sh" /f >/dev/null 2>&1 ||
    fail "cannot name the browser"

"$wine" "$exe" --no-bar --seed 7 --record "$work/windows.replay" >"$work/game.log" 2>&1 &
game_pid=$!
wait_for_window "$work/game.log"
geometry_is 480x640 || fail "window is $(geometry), expected 480x640"
# Wine maps the window before the first picture is on it.
settles pixel_other 240 100 000000 || fail "the title was never drawn"
title=$("$xpixel" "$window" 240 100)

# The replay's stylus events as the mouse makes them, in window pixels (the
# display is shown at twice its size), at the replay's own pace.
last=""
first_press=1
while read -r at time what x y; do
    [ "$at" = at ] || continue
    [ -n "$last" ] && sleep "$(echo "$time $last" | awk '{ d = ($1 - $2) / 1000; printf "%.3f", d < 0.016 ? 0.016 : d }')"
    last=$time
    case $what in
    down)
        xdotool mousemove --window "$window" $((x * 2)) $((y * 2)) mousedown 1
        if [ $first_press -eq 0 ] && [ -z "${from:-}" ]; then
            from="$((x * 2)) $((y * 2))"
            before=$("$xpixel" "$window" $((x * 2)) $((y * 2)))
        fi
        ;;
    move) xdotool mousemove --window "$window" $((x * 2)) $((y * 2)) ;;
    up)
        xdotool mousemove --window "$window" $((x * 2)) $((y * 2)) mouseup 1
        if [ $first_press -eq 1 ]; then
            first_press=0
            pixel_is_not 240 100 "$title" || fail "the click on the title did not show the game"
            sleep 1
            last=""
        fi
        ;;
    end) ;;
    esac
done <"$work/solve.replay"
# shellcheck disable=SC2086
pixel_is_not $from "$before" || fail "the dragged weight did not leave its place"

# The score is stored when the puzzle is solved, after the scale settles.
for _ in $(seq 100); do [ "$(registry_value score)" = "$expected" ] && break; sleep 0.1; done
[ "$(registry_value score)" = "$expected" ] ||
    fail "the registry holds score '$(registry_value score)', expected $expected"

# The puzzle is a row of the player's history in the local application
# data; P writes the progress view beside it and opens it.
history=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Marblequill/Pivotwarden/results.csv' | head -1)
[ -n "$history" ] || fail "no results history in the local application data"
[ "$(wc -l <"$history")" -eq 2 ] && grep -q "^date,level," "$history" ||
    { cat "$history"; fail "the history does not hold the puzzle"; }
xdotool key --window "$window" p 2>/dev/null
view="$(dirname "$history")/progress.html"
for _ in $(seq 100); do grep -q progress.html "$work/opened.txt" 2>/dev/null && break; sleep 0.1; done
grep -q '<svg' "$view" 2>/dev/null && grep -q "1 puzzle in the history" "$view" ||
    fail "P wrote no progress view with the puzzle"
grep -q progress.html "$work/opened.txt" 2>/dev/null || { cat "$work/game.log"; fail "P did not open the progress view"; }

xdotool key --window "$window" F11 2>/dev/null
geometry_is 1024x768 || fail "F11 gave $(geometry), not the whole screen"
xdotool key --window "$window" F11 2>/dev/null
geometry_is 480x640 || fail "F11 again gave $(geometry), not the window"

# F1 plays How to play as on Linux (how_to_play_shows); a key ends it and
# the game's picture and score are as they were.
how_to_play_shows
xdotool key --window "$window" Return 2>/dev/null
settles same_picture || fail "the game's picture did not come back after How to play"
settles title_has '^Pivot Warden$' || fail "How to play's caption stayed: $(xdotool getwindowname "$window")"
[ "$(registry_value score)" = "$expected" ] || fail "How to play changed the score to '$(registry_value score)'"

"$wine" "$exe" >"$work/second.log" 2>&1
second=$?
[ $second -eq 0 ] || { cat "$work/second.log"; fail "the second copy exited with $second"; }
count=$(xdotool search --name "Pivot Warden" | wc -l)
[ "$count" -eq 1 ] || fail "$count windows after the second copy"
kill -0 $game_pid 2>/dev/null || fail "the first copy ended"

"$work/xclose" "$window"
for _ in $(seq 100); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $game_pid 2>/dev/null && fail "the game did not end after the close request"
wait $game_pid
code=$?
game_pid=""
[ $code -eq 0 ] || { head -20 "$work/game.log"; fail "the game ended with $code"; }
[ "$(registry_value score)" = "$expected" ] || fail "after closing the registry holds score '$(registry_value score)'"

"$linux" --headless --replay "$work/windows.replay" --dump "$work/replayed.json" ||
    fail "the recording made under Windows does not replay on Linux"
grep -q "\"score\": $expected" "$work/replayed.json" ||
    { cat "$work/windows.replay"; fail "the recording made under Windows does not replay to score $expected"; }
echo "Windows build under Wine: message box without a console, window 480x640, title click, drag solved the puzzle (score $expected in the registry, a row in the history), P wrote and opened the progress view, F11 on and off, How to play shown with its hand and ended by a key, second copy left one window, closed with 0"
