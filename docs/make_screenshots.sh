#!/bin/sh
# Remakes the screenshots in docs/ from the replays beside them.
# Usage: docs/make_screenshots.sh [PIVOTWARDEN]
set -eu
cd "$(dirname "$0")"
game=${1:-../build/pivotwarden}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
settings="$work/config/Marblequill/Pivotwarden"
for name in title game-left game-right game-level options keypad; do
    rm -rf "$work/config"
    if [ "$name" = keypad ]; then
        # The keypad belongs to the levels with a hidden number.
        mkdir -p "$settings"
        printf 'Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Marblequill\\Pivotwarden]\n"level"="10"\n' \
            > "$settings/settings.reg"
    fi
    XDG_CONFIG_HOME="$work/config" "$game" --headless --replay "replays/$name.replay" --screenshot "$name.png"
done
convert title.png game-left.png game-right.png +append "$work/row1.png"
convert game-level.png options.png keypad.png +append "$work/row2.png"
convert "$work/row1.png" "$work/row2.png" -append overview.png
echo "screenshots written to $(pwd)"
