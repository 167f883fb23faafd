#!/bin/sh
# The Debian package from end to end: builds it, checks it with lintian and
# its file list, installs it with apt, runs the installed game and reads its
# manual page, then removes and purges it and looks for anything left behind.
# It installs system-wide, so it runs as root, in CI's extra step.
set -eu
cd "$(dirname "$0")/../.."
if [ "$(id -u)" -ne 0 ]; then
    echo "the package test installs the package system-wide: run it as root"
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
scripts/install-deps.sh lintian man-db appstream
scripts/package.sh
deb=$(ls "$PWD"/build-package/pivotwarden_*.deb)
work=$(mktemp -d)
trap 'apt-get purge -y -qq pivotwarden >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "ok: $1"; }
fail() { failed=$((failed + 1)); echo "FAILED: $1"; }

# Every file the package may hold; its folders may only be those leading to them.
cat >"$work/expected" <<'LIST'
/usr/games/pivotwarden
/usr/share/applications/pivotwarden.desktop
/usr/share/doc/pivotwarden/changelog.gz
/usr/share/doc/pivotwarden/copyright
/usr/share/icons/hicolor/128x128/apps/pivotwarden.png
/usr/share/icons/hicolor/16x16/apps/pivotwarden.png
/usr/share/icons/hicolor/32x32/apps/pivotwarden.png
/usr/share/man/man6/pivotwarden.6.gz
/usr/share/metainfo/io.marblequill.Pivotwarden.metainfo.xml
LIST

if lintian --fail-on error "$deb" >"$work/lintian" 2>&1; then
    pass "lintian reports no error"
else
    fail "lintian reports errors"
fi
grep -v "running with root privileges" "$work/lintian" || true

dpkg-deb -c "$deb" >"$work/contents"
awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' "$work/contents" | sort >"$work/files"
stray_folders=$(awk '$1 ~ /^d/ { sub(/^\./, "", $6); print $6 }' "$work/contents" |
    while read -r folder; do grep -q "^$folder" "$work/expected" || echo "$folder"; done)
if diff -u "$work/expected" "$work/files" && [ -z "$stray_folders" ] &&
    ! awk '$2 != "root/root"' "$work/contents" | grep -q .; then
    pass "the package holds exactly the expected files, owned by root"
else
    fail "the package's contents differ from the expected list: ${stray_folders:-see above}"
    cat "$work/contents"
fi

depends=$(dpkg-deb -f "$deb" Depends)
case "$depends" in
*libc6*libsdl2-2.0-0*) pass "dependencies read from the executable: $depends" ;;
*) fail "unexpected dependencies: $depends" ;;
esac

if apt-get install -y -qq "$deb" >"$work/apt" 2>&1; then
    pass "apt installs the package"
else
    fail "apt cannot install the package"
    cat "$work/apt"
fi

version=$(dpkg-deb -f "$deb" Version)
if [ "$(/usr/games/pivotwarden --version)" = "pivotwarden $version" ]; then
    pass "the installed game says its version"
else
    fail "the installed game's --version says '$(/usr/games/pivotwarden --version 2>&1)'"
fi

# The launcher must find the game even where /usr/games is not on the PATH.
launcher=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' /usr/share/applications/pivotwarden.desktop)
if [ "$(env PATH=/usr/bin:/bin "$launcher" --version 2>&1)" = "pivotwarden $version" ]; then
    pass "the launcher entry starts the installed game ($launcher)"
else
    fail "the launcher entry's command '$launcher' does not start the game"
fi

# A replay by the installed game, run from elsewhere, ends as the build's own does.
replay=$PWD/docs/replays/keypad.replay
for game in /usr/games/pivotwarden "$PWD/build-package/pivotwarden"; do
    name=$(basename "$(dirname "$game")")
    (cd "$work" && XDG_CONFIG_HOME="$work/config" "$game" --headless --replay "$replay" \
        --dump "$work/$name.json" --screenshot "$work/$name.png") || true
done
if [ -s "$work/games.json" ] && cmp -s "$work/games.json" "$work/build-package.json" &&
    [ -s "$work/games.png" ] && cmp -s "$work/games.png" "$work/build-package.png"; then
    pass "the installed game replays a game to the same end"
else
    fail "the installed game's replay did not end as the build's does"
fi

MANPAGER=cat MANWIDTH=80 man 6 pivotwarden >"$work/man" 2>&1 || true
missing=""
for option in $(/usr/games/pivotwarden --help | grep -o -- '--[a-z-]*' | sort -u); do
    grep -q -- "$option" "$work/man" || missing="$missing $option"
done
if grep -q "SYNOPSIS" "$work/man" && [ -z "$missing" ]; then
    pass "man 6 pivotwarden shows every option of --help"
else
    fail "man 6 pivotwarden lacks:${missing:- its synopsis}"
    cat "$work/man"
fi

metainfo=/usr/share/metainfo/io.marblequill.Pivotwarden.metainfo.xml
if appstreamcli validate --no-net "$metainfo" >"$work/appstream" 2>&1 &&
    grep -q "<control>keyboard</control>" "$metainfo" && grep -q "<screenshot type=\"default\">" "$metainfo"; then
    pass "the AppStream metainfo is valid and lists keyboard control and screenshots"
else
    fail "the AppStream metainfo is invalid or lacks keyboard control or screenshots"
    cat "$work/appstream"
fi

# The description is the help's opening paragraph, not one line.
described=$(sed -n '/^DESCRIPTION/,/^ *--/p' "$work/man" | sed '1d;$d' | wc -w)
if [ "$described" -ge 40 ] && grep -q "keyboard" "$work/man"; then
    pass "man 6 pivotwarden describes the game ($described words)"
else
    fail "man 6 pivotwarden's description has only $described words"
fi

left_after() {
    apt-get "$1" -y -qq pivotwarden >/dev/null 2>&1 || true
    left=$(while read -r file; do if [ -e "$file" ]; then echo "$file"; fi; done <"$work/files")
    if [ -d /usr/share/doc/pivotwarden ]; then left="$left /usr/share/doc/pivotwarden"; fi
    status=$(dpkg-query -W -f='${Status}' pivotwarden 2>/dev/null || true)
    case "$status" in "" | *not-installed) ;; *) left="$left (dpkg: $status)" ;; esac
    if [ -z "$left" ]; then pass "apt $1 leaves none of the package's files"; else fail "apt $1 left $left"; fi
}
left_after remove
apt-get install -y -qq "$deb" >/dev/null 2>&1
left_after purge

echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
