#!/bin/sh
# Installs what is missing, builds the game alone (no tests, no tools) and
# starts it. The build folder is the one scripts/test.sh uses, so running
# the tests afterwards builds only what is left.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target pivotwarden
exec build/pivotwarden "$@"
