#!/bin/sh
# The folders are the layers and arrows point down: only the platform layer
# includes SDL or Emscripten, and no layer includes one above it.
# Usage: layering_test.sh SOURCE-DIR
set -u
cd "$1"
status=0
complain() { echo "FAIL: $*"; status=1; }

# The resource tool is a separate program that draws the artwork, not the game.
sdl=$(grep -rlE '#include [<"]SDL' --include='*.cpp' --include='*.h' . |
    grep -vE '^\./(platform|resources/tool|build[^/]*)/')
[ -z "$sdl" ] || complain "SDL included outside platform/: $sdl"
em=$(grep -rlE '#include [<"]emscripten' --include='*.cpp' --include='*.h' . | grep -vE '^\./(platform|build[^/]*)/')
[ -z "$em" ] || complain "Emscripten included outside platform/: $em"

check() {  # check FOLDER FORBIDDEN-FOLDER...
    folder=$1
    shift
    for above in "$@"; do
        found=$(grep -rlE "#include \"$above/" --include='*.cpp' --include='*.h' "$folder" 2>/dev/null)
        [ -z "$found" ] || complain "$folder/ includes $above/: $found"
    done
}
check platform app game title settings elements scene
check scene app game title settings elements
check elements app game title settings
check settings app game title elements
check game app title
check title app game
[ $status -eq 0 ] && echo "layers: SDL and Emscripten only in platform/, every include points down"
exit $status
