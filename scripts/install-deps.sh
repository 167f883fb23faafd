#!/bin/sh
# Installs the Debian packages the game needs to build, run and be tested,
# skipping those already there. Extra package names may be given.
set -eu
packages="build-essential cmake pkg-config libsdl2-dev libstb-dev
libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool x11-utils $*"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
