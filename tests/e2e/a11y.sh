#!/usr/bin/env bash
# The real program read by a real accessibility client: on its own Xvfb, a
# private session bus (dbus-run-session) and AT-SPI bus, Vorlith runs with
# Qt's AT-SPI bridge on, and a11y_read.py reads it and listens for the
# events that Orca speaks, as Orca does. Fails, never skips, when a tool or
# the display is missing.
#
# usage: a11y.sh PROGRAM FORM1_EXPECTED.json
set -euo pipefail
program=$1
expected=$2
here=$(dirname "$0")
for tool in Xvfb openbox wmctrl dbus-run-session xdotool; do
    command -v "$tool" >/dev/null || { echo "a11y: $tool is not installed" >&2; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' || { echo "a11y: python3-pyatspi is not installed" >&2; exit 1; }

display=60
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -noreset -nolisten tcp &
xvfb_pid=$!
wm_pid=""
trap 'kill $wm_pid "$xvfb_pid" 2>/dev/null || true' EXIT
export DISPLAY=":$display"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
xdotool getdisplaygeometry >/dev/null || { echo "a11y: Xvfb did not start" >&2; exit 1; }
# A window manager, as on every desktop: it gives the form back its
# activation when a message box closes, and the program reads the results
# out once the form is active.
openbox --sm-disable 2>/dev/null &
wm_pid=$!
for _ in $(seq 100); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.05; done
wmctrl -m >/dev/null 2>&1 || { echo "a11y: openbox did not start" >&2; exit 1; }

export program expected here
dbus-run-session -- bash -c '
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" &
    app=$!
    status=0
    /usr/bin/python3 "$here/a11y_read.py" "$expected" || status=$?
    kill "$app" 2>/dev/null || true
    exit "$status"
' 2> >(grep -v -e "Failed to set fd limit" -e "Activating service" -e "Successfully activated" \
           -e "SpiRegistry daemon" -e XDG_RUNTIME_DIR >&2)
