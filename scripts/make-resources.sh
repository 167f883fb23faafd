#!/bin/sh
# Remakes the committed artwork, sounds, icons and glyph atlas under resources/
# with the resource tool, installing what the tool needs first. With --check it
# changes nothing and runs the tool's tests instead, which among other things
# compare the committed glyph atlas with what the tool makes.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh libfreetype-dev libharfbuzz-dev libpng-dev
cmake -S . -B build-res -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPW_BUILD_RESOURCE_TOOL=ON
if [ "${1:-}" = "--check" ]; then
    cmake --build build-res -j"$(nproc)" --target pw_resource_tool_tests
    build-res/tools/resources/pw_resource_tool_tests
else
    cmake --build build-res -j"$(nproc)" --target make_resources
    build-res/tools/resources/make_resources resources
fi
