#!/bin/sh
# Installs what is missing, builds the game for the desktop and the browser
# and runs every test.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
scripts/build-web.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"
