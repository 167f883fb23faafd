#!/bin/sh
# Runs the browser tests: the site built by scripts/build-web.sh, served from
# 127.0.0.1 and played in Debian's chromium, compared with the desktop game.
# Usage: run.sh DESKTOP-GAME AUTOPLAYER
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source=$(cd "$here/../.." && pwd)
if [ ! -f "$source/build-web/site/pivotwarden.wasm" ] || [ ! -d "$source/node_modules/playwright-core" ] ||
    [ ! -x /usr/bin/chromium ]; then
    echo "FAIL: the browser build, playwright-core or /usr/bin/chromium is missing:" \
        "run scripts/install-deps.sh and scripts/build-web.sh (scripts/test.sh does both)"
    exit 1
fi
export PW_DESKTOP="$1" PW_AUTOPLAY="$2"
cd "$source"
# A test that hangs fails by its own name, well within ctest's limit for the suite.
exec node --test --test-concurrency=1 --test-timeout=120000 tests/web/
