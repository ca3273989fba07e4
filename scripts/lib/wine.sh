# Sourced by the scripts that run Windows programs under Wine. Sets up a
# fresh Wine prefix in a temporary folder that looks like the desktop of a
# Simplified Chinese or an English Windows, with one wineserver that stays
# up for the whole run, and ends it on every way out.
#
#   wine_prefix null|x11 [zh|en]
#                            make the prefix; "null" draws nothing (no
#                            display needed), "x11" draws on $DISPLAY in a
#                            1024x768 virtual desktop (no window manager);
#                            its desktop fonts those of a Chinese (default)
#                            or an English Windows (tests/win32/desktop.py)
#   wine_end                 ends the prefix's programs and its wineserver,
#                            and removes the prefix
#
# Sets $wine (the wine64 loader) and $wineserver, exports WINEPREFIX,
# WINEARCH, WINEDEBUG and WINEDLLOVERRIDES (no Mono or Gecko installers).

wine=$(PATH=$PATH:/usr/lib/wine command -v wine64) || { echo "wine64 is not installed" >&2; exit 1; }
wineserver=$(PATH=$PATH:/usr/lib/wine command -v wineserver) ||
    { echo "wineserver is not installed" >&2; exit 1; }
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

wine_guard_pid=""

wine_end() {
    [ -n "${WINEPREFIX:-}" ] || return 0
    "$wineserver" -k 2>/dev/null || true
    timeout 20 "$wineserver" -w 2>/dev/null || true
    if [ -n "$wine_guard_pid" ]; then
        kill "$wine_guard_pid" 2>/dev/null || true
        wait "$wine_guard_pid" 2>/dev/null || true
        wine_guard_pid=""
    fi
    rm -rf "$WINEPREFIX"
    unset WINEPREFIX
}

wine_prefix() {
    WINEPREFIX=$(mktemp -d /tmp/vorlith-wine.XXXXXX)
    export WINEPREFIX
    # Should this shell be killed before it can run wine_end (a test's
    # time-out), a guard ends the prefix's wineserver and removes the prefix
    # within seconds.
    local owner=$BASHPID prefix=$WINEPREFIX
    (
        while kill -0 "$owner" 2>/dev/null && [ -d "$prefix" ]; do sleep 1; done
        if [ -d "$prefix" ]; then
            WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null
            rm -rf "$prefix"
        fi
    ) </dev/null >/dev/null 2>&1 &
    wine_guard_pid=$!
    # Set up by programs that end with their server, so that the settings
    # are on disk and every program of the run starts with them (the
    # desktop process too).
    "$wine" wineboot --init >/dev/null 2>&1 || { echo "wineboot could not set up $WINEPREFIX" >&2; return 1; }
    "$wineserver" -w
    # The symbols of the window frames' buttons: this Wine does not find its
    # own copy of Marlett (fonts-wine), so the prefix gets one.
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    local settings="$WINEPREFIX/vorlith.reg"
    python3 "$(dirname "${BASH_SOURCE[0]}")/../../tests/win32/desktop.py" "$settings" "${2:-zh}"
    if [ "$1" = null ]; then
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Graphics"="null"\r\n' >>"$settings"
    else
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n' >>"$settings"
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="1024x768"\r\n' >>"$settings"
    fi
    "$wine" regedit /S "$(winepath_of "$settings")"
    "$wineserver" -w
    # Then one wineserver for the whole run: were each program to start its
    # own, the next one could connect just as the last one's server is
    # exiting ("recvmsg: Connection reset by peer"). It stays until wine_end.
    "$wineserver" -p || { echo "no wineserver for $WINEPREFIX" >&2; return 1; }
    # And its services and desktop process, started now with nothing of this
    # shell's: started by the first program of the run, they would hold on
    # to its output (a test's pipe, which ctest then waits on to the end).
    "$wine" wineboot </dev/null >/dev/null 2>&1 || { echo "wineboot could not start $WINEPREFIX" >&2; return 1; }
}

# The Windows path of a file (Wine maps / to Z:).
winepath_of() {
    printf 'Z:%s' "$(realpath "$1" | tr / '\\')"
}
