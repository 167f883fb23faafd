#!/bin/sh
# Builds the Windows version on Debian: installs what is missing (MinGW-w64,
# NSIS), cross-builds SDL2 from Debian's own source package once (kept
# in build-windows/sdl2/), then writes build-windows/pivotwarden.exe, the
# installer build-windows/pivotwarden-VERSION-setup.exe and the plain
# build-windows/pivotwarden-VERSION-windows.zip. Extra arguments go to cmake.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
out=build-windows
toolchain=$root/cmake/toolchains/mingw-w64-x86_64.cmake
jobs=$(nproc)
scripts/install-deps.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 nsis dpkg-dev
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

# Debian's source package of SDL2. apt needs a deb-src line for it: the same
# archive, suite and key as the machine's own binary entry (a deb-src line
# that names another key makes apt refuse every list).
sdl_source() {
    mkdir -p "$out/sdl2-src"
    if ! (cd "$out/sdl2-src" && apt-get source --download-only libsdl2 >/dev/null 2>&1); then
        uri=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | grep -m1 'debian/\?$' ||
            awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^https?:/) { print $i; exit } }' \
                /etc/apt/sources.list 2>/dev/null)
        suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
        [ -n "$uri" ] || { echo "no Debian archive found in apt's sources"; exit 1; }
        echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $suite main" |
            $SUDO tee /etc/apt/sources.list.d/debian-src.list >/dev/null
        $SUDO apt-get update -qq
        (cd "$out/sdl2-src" && apt-get source --download-only libsdl2 >/dev/null)
    fi
    # apt checked the files against the signed archive; dpkg-source warns
    # that it cannot check the maintainer's own signature without the
    # developers' keyring, which is not needed for that.
    rm -rf "$out/sdl2-src/sdl2"
    (cd "$out/sdl2-src" && dpkg-source -x ./libsdl2_*.dsc sdl2 >/dev/null)
}

# SDL2 as a static library for MinGW, built once: a later run finds it.
if [ ! -f "$out/sdl2/lib/libSDL2.a" ]; then
    [ -f "$out/sdl2-src/sdl2/CMakeLists.txt" ] || sdl_source
    cmake -S "$out/sdl2-src/sdl2" -B "$out/sdl2-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$root/$out/sdl2" \
        -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF >/dev/null
    cmake --build "$out/sdl2-build" -j"$jobs"
    cmake --install "$out/sdl2-build" >/dev/null
fi

cmake -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DSDL2_DIR="$root/$out/sdl2/lib/cmake/SDL2" "$@" >/dev/null
cmake --build "$out" -j"$jobs"
echo "the game is $out/pivotwarden.exe; the installer and the zip are beside it"
