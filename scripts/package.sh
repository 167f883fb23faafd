#!/bin/sh
# Builds the game for release and makes its Debian package,
# build-package/pivotwarden_VERSION_ARCH.deb.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh help2man dpkg-dev file
dir=build-package
# Debian's own compiler and linker flags, with every hardening feature.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DPW_DEBIAN_PACKAGE=ON -DPW_BUILD_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$dir" -j"$(nproc)"
rm -f "$dir"/pivotwarden_*.deb
(cd "$dir" && cpack -G DEB >cpack.log 2>&1) || { cat "$dir/cpack.log"; exit 1; }
ls "$dir"/pivotwarden_*.deb
