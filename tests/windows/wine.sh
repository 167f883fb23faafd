# shellcheck shell=sh disable=SC2154
# Sourced by the tests that run the Windows build under Wine. The sourcing
# script provides $work (its scratch folder) and fail().

# start_wine: a fresh Wine prefix of its own in $work (its registry starts
# empty), quiet, without the Mono and Gecko installers, with the Unix
# arguments and paths read as UTF-8. Sets $wine to the Wine program.
start_wine() {
    wine=$(command -v wine64 || command -v wine || true)
    [ -n "$wine" ] || fail "Wine is not installed (scripts/install-deps.sh wine64)"
    export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
    # Sound has no device here; SDL finds that out quickly through its dummy driver.
    export SDL_AUDIODRIVER=dummy
    "$wine" wineboot -i >"$work/wineboot.log" 2>&1 || { tail -5 "$work/wineboot.log"; fail "wineboot failed"; }
    # Keep one server for the whole test: every start then skips its own.
    wineserver -p 2>/dev/null || true
}

stop_wine() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
}

# registry_value NAME: the player's stored value NAME as Wine's registry
# holds it (empty when missing).
registry_value() {
    "$wine" reg query 'HKCU\Software\Marblequill\Pivotwarden' /v "$1" 2>/dev/null |
        tr -d '\r' | awk -v name="$1" '$1 == name && $2 == "REG_SZ" { print $3 }'
}
