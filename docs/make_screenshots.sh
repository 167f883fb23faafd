#!/bin/sh
# Remakes the screenshots in docs/ from the replays beside them.
# Usage: docs/make_screenshots.sh [PIVOTWARDEN]
set -eu
cd "$(dirname "$0")"
game=${1:-../build/pivotwarden}
# The pictures are put side by side with imagemagick.
../scripts/install-deps.sh imagemagick
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Each replay plays on fresh settings; the keypad one picks level 10 on the
# options panel first, since the keypad belongs to the hidden-number levels.
for name in title game-left game-right game-level options keypad; do
    "$game" --headless --replay "replays/$name.replay" --screenshot "$name.png"
done
convert title.png game-left.png game-right.png +append "$work/row1.png"
convert game-level.png options.png keypad.png +append "$work/row2.png"
convert "$work/row1.png" "$work/row2.png" -append overview.png
echo "screenshots written to $(pwd)"
