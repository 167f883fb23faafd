#!/bin/sh
# Installs what is missing, builds and starts the game.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
exec build/pivotwarden "$@"
