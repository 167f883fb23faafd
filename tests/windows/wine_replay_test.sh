#!/bin/sh
# The Windows build under Wine, headless, against the Linux build: every
# replay of the documentation and two whole games played by the autoplayer
# give the same dump and the same screenshot, byte for byte. Replays are
# read from, and output files written to, a folder whose name has letters
# outside ASCII; an output file replaces an old one whole, and a
# file that cannot be written is reported with the system's reason and a
# non-zero exit, as is a replay that cannot be read.
# Usage: wine_replay_test.sh PIVOTWARDEN.EXE LINUX-PIVOTWARDEN PW_AUTOPLAY
set -u
exe=$(realpath "$1")
linux=$(realpath "$2")
autoplay=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'stop_wine; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
. "$here/wine.sh"
start_wine

# The docs' replays, and whole games by stylus through the levels.
mkdir -p "$work/replays" "$work/linux" "$work/windows-ö名"
cp "$root"/docs/replays/*.replay "$work/replays/"
"$autoplay" --seed 2026 --puzzles 55 --out "$work/replays/whole-2026.replay" >/dev/null ||
    fail "the autoplayer failed"
"$autoplay" --seed 7 --puzzles 150 --out "$work/replays/whole-7.replay" >/dev/null || fail "the autoplayer failed"

count=0
for replay in "$work"/replays/*.replay; do
    name=$(basename "$replay" .replay)
    XDG_CONFIG_HOME="$work/config" "$linux" --headless --replay "$replay" \
        --dump "$work/linux/$name.json" --screenshot "$work/linux/$name.png" ||
        fail "the Linux build failed on $name"
    out="$work/windows-ö名/$name"
    cp "$replay" "$out.replay"
    "$wine" "$exe" --headless --replay "$out.replay" --dump "$out.json" --screenshot "$out.png" \
        >"$work/wine.log" 2>&1 || { cat "$work/wine.log"; fail "the Windows build failed on $name"; }
    cmp "$work/linux/$name.json" "$out.json" ||
        { diff "$work/linux/$name.json" "$out.json" | head; fail "the dumps of $name differ"; }
    cmp "$work/linux/$name.png" "$out.png" || fail "the screenshots of $name differ"
    count=$((count + 1))
done
grep -q '"level": \(1[0-5]\|[4-9]\)' "$work/linux/whole-2026.json" ||
    fail "the whole game did not climb the levels: $(head -c 200 "$work/linux/whole-2026.json")"

# An old dump is replaced whole; nothing is left beside it.
printf 'an old dump, longer than the new one will be, so that a rewrite in place would leave its tail behind %0300d' 0 \
    >"$work/old.json"
"$wine" "$exe" --headless --replay "$work/replays/title.replay" --dump "$work/old.json" ||
    fail "the dump over an old file failed"
cmp "$work/old.json" "$work/linux/title.json" || fail "the old dump was not replaced by the new one"
[ "$(ls -A "$work" | grep -c pivotwarden)" -eq 0 ] || fail "a temporary file was left: $(ls -A "$work")"

# A dump into a folder that does not exist, and one over a folder: the
# system's reason and exit status 2.
"$wine" "$exe" --headless --replay "$work/replays/title.replay" --dump "$work/missing/end.json" \
    >/dev/null 2>"$work/missing.log"
code=$?
[ $code -eq 2 ] && grep -q "cannot write dump.*: ." "$work/missing.log" ||
    { cat "$work/missing.log"; fail "a dump into a missing folder ended with $code"; }
"$wine" "$exe" --headless --replay "$work/replays/title.replay" --dump "$work/replays" \
    >/dev/null 2>"$work/folder.log"
code=$?
[ $code -eq 2 ] && grep -q "cannot write dump" "$work/folder.log" ||
    { cat "$work/folder.log"; fail "a dump over a folder ended with $code"; }
"$wine" "$exe" --headless --replay "$work/none.replay" >/dev/null 2>"$work/none.log"
code=$?
[ $code -eq 2 ] && grep -q "cannot read replay file" "$work/none.log" ||
    { cat "$work/none.log"; fail "a missing replay ended with $code"; }

# The results history in a file of the test's own (--history), in the
# folder with letters outside ASCII: the whole game's puzzles as the Linux
# build keeps them (all but the time each was played). A torn last line is
# cut before the next row; the progress view drawn from it has the chart;
# the view is refused over the history itself.
history="$work/windows-ö名/results.csv"
"$wine" "$exe" --headless --replay "$work/replays/whole-2026.replay" --history "$history" >"$work/history.log" 2>&1 ||
    { cat "$work/history.log"; fail "the Windows build failed to keep a history"; }
"$linux" --headless --replay "$work/replays/whole-2026.replay" --history "$work/linux/results.csv" ||
    fail "the Linux build failed to keep a history"
rows() { cut -d, -f2- "$1"; }
rows "$work/linux/results.csv" >"$work/linux/rows.txt"
rows "$history" >"$work/rows.txt"
cmp -s "$work/linux/rows.txt" "$work/rows.txt" ||
    { diff "$work/linux/results.csv" "$history" | head; fail "the histories differ"; }
puzzles=$(($(wc -l <"$history") - 1))
[ "$puzzles" -ge 50 ] || fail "the history holds $puzzles puzzles"
printf '2026-12-0' >>"$history"
"$wine" "$exe" --headless --replay "$work/replays/game-left.replay" --history "$history" >"$work/torn.log" 2>&1 ||
    { cat "$work/torn.log"; fail "the Windows build failed on a torn history"; }
grep -q '2026-12-0$' "$history" && fail "the torn line was kept"
[ "$(tail -c1 "$history" | od -An -c | tr -d ' ')" = '\n' ] || fail "the history does not end in a whole row"
puzzles=$(($(wc -l <"$history") - 1))
view="$work/windows-ö名/progress.html"
"$wine" "$exe" --progress "$view" --history "$history" >"$work/view.log" 2>&1 ||
    { cat "$work/view.log"; fail "--progress ended with $?"; }
grep -q '<svg' "$view" && grep -q "$puzzles puzzles in the history" "$view" ||
    fail "the progress view has no chart of $puzzles puzzles"
cp "$history" "$work/history.kept"
"$wine" "$exe" --progress "$history" --history "$history" >/dev/null 2>"$work/self.log"
code=$?
[ $code -eq 2 ] && grep -q "results history itself" "$work/self.log" && cmp -s "$history" "$work/history.kept" ||
    { cat "$work/self.log"; fail "--progress over the history ended with $code"; }

# "-" is the standard output: the descriptions come out as on Linux.
"$linux" --headless --replay "$work/replays/game-left.replay" --describe /dev/stdout >"$work/linux/described.txt" ||
    fail "the Linux build failed to describe"
"$wine" "$exe" --headless --replay "$work/replays/game-left.replay" --describe - >"$work/described.txt" 2>"$work/describe.log" ||
    { cat "$work/describe.log"; fail "--describe - failed"; }
[ -s "$work/described.txt" ] && cmp "$work/linux/described.txt" "$work/described.txt" ||
    fail "--describe - wrote other lines than the Linux build"
"$wine" "$exe" --help | grep -q '%LOCALAPPDATA%\\Marblequill\\Pivotwarden\\results.csv' ||
    fail "--help does not name the Windows history"

# A replay plays on settings of its own: the player's registry stays empty.
[ -z "$(registry_value score)" ] || fail "a replay stored a score in the player's registry"
echo "Windows build under Wine: $count replays give the Linux build's dumps and screenshots byte for byte; --history keeps the Linux build's rows and cuts a torn line; --progress draws the chart and refuses the history itself; --describe - writes to the console"
