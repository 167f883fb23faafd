#!/bin/sh
# Builds the game for the browser: installs what is missing (Debian's
# emscripten, node-acorn and chromium; playwright-core and axe-core from npm for the
# browser tests), then writes the whole site to build-web/site/. Any static
# web server can host that folder.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh emscripten node-acorn chromium brotli
command -v npm >/dev/null 2>&1 || scripts/install-deps.sh nodejs npm
[ -f node_modules/playwright-core/package.json ] && [ -f node_modules/@axe-core/playwright/package.json ] &&
    [ -f node_modules/esbuild/package.json ] && [ -f node_modules/lighthouse/package.json ] ||
    npm ci --no-audit --no-fund
# Debian's emcc needs its acorn module, which Node.js does not look for in
# /usr/share/nodejs by itself.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release
cmake --build build-web -j"$(nproc)"
echo "the site is in build-web/site/"
