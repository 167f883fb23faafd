#!/bin/sh
# Builds the browser version, serves it on 127.0.0.1 and prints its address.
# Extra arguments: a port (default: any free one).
set -eu
cd "$(dirname "$0")/.."
scripts/build-web.sh
exec node scripts/serve-web.mjs build-web/site "${1:-0}"
