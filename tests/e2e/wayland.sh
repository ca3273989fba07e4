#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real program as a native Wayland client: on its own headless Weston,
# with a private session bus and AT-SPI bus, wayland_smoke.py starts it with
# the wayland platform plug-in and WAYLAND_DEBUG=1, opens 关于→软件 and
# 文件→退出 as a screen reader does, and reads from the protocol that the
# window maps with the desktop id as its app id and that the message box is
# a child of the form. Fails, never skips, when a tool is missing.
#
# usage: wayland.sh PROGRAM APP_ID FORM1_EXPECTED.json
set -euo pipefail
program=$1
app_id=$2
expected=$3
here=$(dirname "$0")
for tool in weston dbus-run-session; do
    command -v "$tool" >/dev/null || { echo "wayland: $tool is not installed" >&2; exit 1; }
done
qt_plugins=$(/usr/lib/qt6/bin/qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
[ -e "$qt_plugins/platforms/libqwayland-generic.so" ] ||
    { echo "wayland: Qt's wayland platform plug-in is not installed (qt6-wayland)" >&2; exit 1; }
/usr/bin/python3 -c 'import pyatspi' || { echo "wayland: python3-pyatspi is not installed" >&2; exit 1; }

# Weston wants a private run-time directory (mode 700) for its socket.
runtime_dir=$(mktemp -d)
chmod 700 "$runtime_dir"
weston_pid=""
cleanup() {
    [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
    rm -rf "$runtime_dir"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$runtime_dir
socket=vorlith-test
unset DISPLAY QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
    --log="$runtime_dir/weston.log" &
weston_pid=$!
for _ in $(seq 100); do [ -S "$runtime_dir/$socket" ] && break; sleep 0.05; done
[ -S "$runtime_dir/$socket" ] || { cat "$runtime_dir/weston.log" >&2; echo "wayland: weston did not start" >&2; exit 1; }
export WAYLAND_DISPLAY=$socket
# In an ASan build: Mesa's EGL, loaded by Qt's Wayland plug-in, leaks from a
# driver that is unloaded before the leak check, so only the slow unwinder
# reaches the frames that tests/lsan.supp names. No effect on other builds.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0"

dbus-run-session -- /usr/bin/python3 "$here/wayland_smoke.py" "$program" "$app_id" "$expected" \
    2> >(grep -v -e "Failed to set fd limit" -e "Activating service" -e "Successfully activated" \
             -e "SpiRegistry daemon" >&2)
