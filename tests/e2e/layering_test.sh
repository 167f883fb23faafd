#!/bin/sh
# The folders are the layers and arrows point down: only the platform layer
# includes SDL, Emscripten, Windows or POSIX-only headers, each backend in
# its own folder; the platform's portable root and the game include no
# backend; no layer includes one above it.
# Usage: layering_test.sh SOURCE-DIR
set -u
cd "$1"
status=0
complain() { echo "FAIL: $*"; status=1; }

# Game and platform code, without the builds, the tests, the benchmarks and
# the tools, which stand above the game.
sources() {
    find . \( -path './build*' -o -path ./node_modules -o -path ./tests -o -path ./bench -o -path ./tools \
        -o -path ./.git \) -prune -o \( -name '*.cpp' -o -name '*.h' \) -print
}
including() {  # including PATTERN ALLOWED-FOLDERS-REGEX
    sources | xargs grep -lE "#include [<\"]($1)" | grep -vE "^\./($2)/" | tr '\n' ' '
}
# The entry points pick the backends: they are the only game files that may
# name one.
entry='app/(web_)?main\.cpp'

found=$(including 'SDL' 'platform/sdl')
[ -z "$found" ] || complain "SDL included outside platform/sdl/: $found"
found=$(including 'emscripten' 'platform/web')
[ -z "$found" ] || complain "Emscripten included outside platform/web/: $found"
found=$(including '[Ww]indows\.h|[a-z]*api\.h>' 'platform/windows')
[ -z "$found" ] || complain "Windows headers included outside platform/windows/: $found"
posix='(unistd|fcntl|poll|pthread|signal|ftw|pwd|dirent|strings|dlfcn|syslog|termios)\.h|sys/'
found=$(including "$posix" 'platform/(posix|sdl|web)' | tr ' ' '\n' | grep -vE "^\./$entry\$" | tr '\n' ' ')
[ -z "$found" ] || complain "POSIX-only headers included outside platform/'s desktop folders: $found"

check() {  # check FOLDER FORBIDDEN-FOLDER...; "FOLDER -maxdepth 1" checks only its root
    folder=$1
    shift
    for above in "$@"; do
        found=$(find $folder \( -name '*.cpp' -o -name '*.h' \) -print 2>/dev/null |
            grep -vE "^($entry)\$" | xargs grep -lE "#include \"$above/" 2>/dev/null | tr '\n' ' ')
        [ -z "$found" ] || complain "$folder includes $above/: $found"
    done
}
backends='platform/(posix|sdl|web|headless|windows)'
check platform app game title settings elements scene base
check "platform -maxdepth 1" "$backends"
check base platform app game title settings elements scene
check scene app game title settings elements
check elements app game title settings
check settings app game title elements scene
check game app title
check title app game
check app "$backends"
check scene "$backends"
check elements "$backends"
check game "$backends"
check title "$backends"
check settings "$backends"
# How to play is handed its games' window and loop by the entry points.
check howtoplay "$backends" app
[ $status -eq 0 ] && echo "layers: every include points down, backends only from the entry points"
exit $status
