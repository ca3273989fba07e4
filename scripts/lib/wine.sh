# Sourced by the scripts that run Windows programs under Wine. Sets up a
# fresh Wine prefix in a temporary folder that looks like a Simplified
# Chinese Windows desktop, and ends its wineserver on every way out.
#
#   wine_prefix null|x11     make the prefix; "null" draws nothing (no
#                            display needed), "x11" draws on $DISPLAY in a
#                            1024x768 virtual desktop (no window manager)
#   wine_end                 waits for the prefix's programs, then ends them
#
# Sets $wine (the wine64 loader) and $wineserver, exports WINEPREFIX,
# WINEARCH, WINEDEBUG and WINEDLLOVERRIDES (no Mono or Gecko installers).

wine=$(PATH=$PATH:/usr/lib/wine command -v wine64) || { echo "wine64 is not installed" >&2; exit 1; }
wineserver=$(PATH=$PATH:/usr/lib/wine command -v wineserver) ||
    { echo "wineserver is not installed" >&2; exit 1; }
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

wine_end() {
    [ -n "${WINEPREFIX:-}" ] || return 0
    timeout 20 "$wineserver" -w 2>/dev/null || true
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    unset WINEPREFIX
}

wine_prefix() {
    WINEPREFIX=$(mktemp -d /tmp/vorlith-wine.XXXXXX)
    export WINEPREFIX
    "$wine" wineboot --init >/dev/null 2>&1 || { echo "wineboot could not set up $WINEPREFIX" >&2; return 1; }
    "$wineserver" -w
    # The symbols of the window frames' buttons: this Wine does not find its
    # own copy of Marlett (fonts-wine), so the prefix gets one.
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    local settings="$WINEPREFIX/vorlith.reg"
    python3 "$(dirname "${BASH_SOURCE[0]}")/../../tests/win32/chinese-desktop.py" "$settings"
    if [ "$1" = null ]; then
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Graphics"="null"\r\n' >>"$settings"
    else
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n' >>"$settings"
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="1024x768"\r\n' >>"$settings"
    fi
    "$wine" regedit /S "$(winepath_of "$settings")"
    "$wineserver" -w
}

# The Windows path of a file (Wine maps / to Z:).
winepath_of() {
    printf 'Z:%s' "$(realpath "$1" | tr / '\\')"
}
