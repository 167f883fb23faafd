#!/bin/sh
# The Windows installer under Wine: installs silently (/S) for the user
# alone, with a Start-menu entry and an entry in the user's list of
# programs; the installed game plays a replay to the Linux build's dump; the
# uninstaller, silent too, fails while the game runs and removes nothing,
# and once it is closed removes every file and registry entry it made and
# keeps the player's score. The .zip holds the game, its licences and the
# README, which has Windows' line endings and names every key and option.
# Usage: wine_installer_test.sh SETUP.EXE ZIP LINUX-PIVOTWARDEN
set -u
setup=$(realpath "$1")
zip=$(realpath "$2")
linux=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
game_pid=""
xvfb_pid=""
trap 'kill $game_pid 2>/dev/null; stop_wine; kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
. "$here/../e2e/xsession.sh"
. "$here/wine.sh"
start_xvfb
start_wine
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pivotwarden'

# Every file of the Windows drive, Wine's own temporary files aside.
files() { (cd "$WINEPREFIX/drive_c" && find . -type f ! -path './windows/*' | sort); }
files >"$work/before"

"$wine" "$setup" /S || fail "the silent install ended with $?"
installed=$(cd "$WINEPREFIX/drive_c" && find . -path '*/AppData/Local/Programs/Pivotwarden' -type d | head -1)
[ -n "$installed" ] || fail "nothing was installed in the user's programs folder"
folder="$WINEPREFIX/drive_c/$installed"
for file in pivotwarden.exe uninstall.exe LICENSE.txt README.txt DejaVu-LICENSE.txt; do
    [ -f "$folder/$file" ] || fail "$file is not installed"
done
cmp -s "$root/LICENSE" "$folder/LICENSE.txt" || fail "the installed licence differs"
(cd "$WINEPREFIX/drive_c" && find . -path '*/Start Menu/Programs/Pivot Warden.lnk' | grep -q .) ||
    fail "no Start-menu entry"
"$wine" reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1 || fail "no entry in the list of programs"

# The installed game plays.
"$linux" --headless --replay "$root/docs/replays/game-left.replay" --dump "$work/linux.json" ||
    fail "the Linux build failed"
"$wine" "$folder/pivotwarden.exe" --headless --replay "$root/docs/replays/game-left.replay" \
    --dump "$work/installed.json" || fail "the installed game did not play the replay"
cmp "$work/linux.json" "$work/installed.json" || fail "the installed game's dump differs from the Linux build's"

# While the game runs the uninstall fails (run in place, so that its end
# is the uninstall's) and removes nothing: the game and the entry stay.
"$wine" "$folder/pivotwarden.exe" >"$work/game.log" 2>&1 &
game_pid=$!
wait_for_window "$work/game.log"
"$wine" "$folder/uninstall.exe" /S "_?=$("$wine" winepath -w "$folder" 2>/dev/null | tr -d '\r')"
code=$?
[ $code -ne 0 ] || fail "the uninstall ended with 0 while the game ran"
for file in pivotwarden.exe uninstall.exe README.txt; do
    [ -f "$folder/$file" ] || fail "the uninstall removed $file while the game ran"
done
"$wine" reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1 ||
    fail "the uninstall removed the entry in the list of programs while the game ran"
kill "$game_pid"
wait "$game_pid" 2>/dev/null
game_pid=""
"$wine" wineserver -w 2>/dev/null || true

# The player's score, as the game stores it, outlives the uninstall.
"$wine" reg add 'HKCU\Software\Marblequill\Pivotwarden' /v score /t REG_SZ /d 48 /f >/dev/null 2>&1
"$wine" "$folder/uninstall.exe" /S
# The uninstaller runs from a copy of itself, which the first process starts
# before it ends: wait for the folder to go.
for _ in $(seq 300); do [ -d "$folder" ] || break; sleep 0.1; done
[ -d "$folder" ] && fail "the install folder is still there: $(ls -A "$folder")"
# The copy marks itself for removal at the next start of Windows.
"$wine" wineboot -r >/dev/null 2>&1
files >"$work/after"
diff "$work/before" "$work/after" >"$work/left" || { cat "$work/left"; fail "the uninstall left files behind"; }
"$wine" reg query "$uninstall_key" >/dev/null 2>&1 && fail "the entry in the list of programs is still there"
[ "$(registry_value score)" = 48 ] || fail "the uninstall took the player's score"

# The zip: one folder with the game, the licences and the README.
python3 -c "import sys, zipfile; print('\n'.join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))" "$zip" \
    >"$work/zip.txt" || fail "the zip cannot be read"
printf '%s\n' Pivotwarden/ Pivotwarden/DejaVu-LICENSE.txt Pivotwarden/LICENSE.txt Pivotwarden/README.txt \
    Pivotwarden/pivotwarden.exe | diff - "$work/zip.txt" || fail "the zip holds other files"
python3 -c "import sys, zipfile; sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read('Pivotwarden/README.txt'))" \
    "$zip" >"$work/README.txt" || fail "the zip's README cannot be read"
[ "$(grep -c "$(printf '\r')\$" "$work/README.txt")" -eq "$(wc -l <"$work/README.txt")" ] ||
    fail "the README's lines do not all end in CR LF"
tr -d '\r' <"$work/README.txt" >"$work/readme.txt"
for key in F1 H B P M F11 '0 to 9' Left Tab Enter Escape O; do
    grep -q -- "^  $key[ ,]" "$work/readme.txt" || fail "the README's keys lack $key"
done
for option in --set --describe --progress --history; do
    grep -q -- "^  $option " "$work/readme.txt" || fail "the README's options lack $option"
done
grep -qF '%LOCALAPPDATA%\Marblequill\Pivotwarden\results.csv' "$work/readme.txt" ||
    fail "the README does not say where the results are kept"
echo "Windows installer under Wine: silent install with Start-menu entry, the installed game plays, the uninstall fails while it runs, silent uninstall leaves no file and keeps the score; the zip holds the game and a CRLF README naming every key and option"
