#!/usr/bin/env bash
# End-to-end run of the real program on a real X server: starts its own Xvfb
# (and openbox, for the close control), then drives the window with xdotool:
# Calculate, the error report and its dismissal, EXIT, and the close control.
# What the window shows is read through AT-SPI (a11y_probe.py, on a private
# session bus) and compared with tests/support/form1_expected.json. Fails,
# never skips, when a tool or the display is missing.
#
# usage: e2e.sh PROGRAM [SCREENSHOT_DIR]
set -euo pipefail

program=$1
shots=${2:-$(pwd)}
here=$(cd "$(dirname "$0")" && pwd)
expected=$here/../support/form1_expected.json
mkdir -p "$shots"
for tool in Xvfb xdotool openbox wmctrl import dbus-run-session; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed" >&2; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' || { echo "e2e: python3-pyatspi is not installed" >&2; exit 1; }
# The rest runs on a session bus of its own, where the program's AT-SPI
# bridge and the probe meet.
if [ -z "${VORLITH_E2E_BUS:-}" ]; then
    VORLITH_E2E_BUS=1 exec dbus-run-session -- "$0" "$@" \
        2> >(grep -v -e "Failed to set fd limit" -e "Activating service" -e "Successfully activated" \
                 -e "SpiRegistry daemon" -e XDG_RUNTIME_DIR >&2)
fi
unset AT_SPI_BUS_ADDRESS
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

xvfb_pid=""
wm_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

# A display number nobody uses.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -noreset -nolisten tcp &
xvfb_pid=$!
export DISPLAY=":$display"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
xdotool getdisplaygeometry >/dev/null || { echo "e2e: Xvfb did not start" >&2; exit 1; }
openbox --sm-disable &
wm_pid=$!
sleep 0.5

fail() { echo "e2e: FAILED: $*" >&2; exit 1; }
step() { echo "e2e: $*"; }

# Starts the program and sets $window to its main window.
launch() {
    "$program" &
    app_pid=$!
    window=""
    for _ in $(seq 200); do
        window=$(xdotool search --onlyvisible --name '^Vorlith$' 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && break
        kill -0 "$app_pid" 2>/dev/null || fail "the program exited at start"
        sleep 0.05
    done
    [ -n "$window" ] || fail "no window named Vorlith appeared"
    sleep 0.3
    eval "$(xdotool getwindowgeometry --shell "$window")"  # X Y WIDTH HEIGHT
    menu_height=$((HEIGHT - 200))
}

# Clicks at a point given in the window's client coordinates.
click_at() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.3
}

# What the window shows, read as a screen reader reads it.
probe() { /usr/bin/python3 "$here/a11y_probe.py" "$expected" "$@"; }

alive() { kill -0 "$app_pid" 2>/dev/null; }

# 1. Start, Calculate: the fields read the sample results, the program goes on.
step "start"
launch
[ "$WIDTH" -eq 747 ] || fail "window is $WIDTH px wide, not 747"
import -window "$window" "$shots/start.png"
click_at 200 $((menu_height + 100))  # Command1
alive || fail "the program ended on Calculate"
probe results || fail "the result fields do not read the sample results"
import -frame -window "$window" "$shots/calculated.png"
step "Calculate wrote the eight sample results"

# 2. Error path: empty V, Calculate, the report of division by zero opens;
# dismissed, the program goes on.
click_at 76 $((menu_height + 17))  # Text1
xdotool key ctrl+a BackSpace
click_at 200 $((menu_height + 100))
report=""
for _ in $(seq 100); do
    report=$(xdotool search --onlyvisible --name '^Vorlith$' 2>/dev/null | grep -v "^$window\$" | head -n 1) || true
    [ -n "$report" ] && break
    sleep 0.05
done
[ -n "$report" ] || fail "no second window titled Vorlith appeared"
probe report "V empty" || fail "the open box is not the report of division by zero"
import -window "$report" "$shots/report.png"
xdotool windowactivate --sync "$report" key Return
sleep 0.3
alive || fail "the program ended after the error report"
xdotool search --onlyvisible --name '^Vorlith$' | grep -q "^$window\$" || fail "main window gone"
[ "$(xdotool search --onlyvisible --name '^Vorlith$' | wc -l)" -eq 1 ] || fail "report still open"
step "the report of division by zero shown and dismissed with Return, program still running"

# 3. EXIT: 文件 then 退出 ends the program with status 0.
# A menu that opened late can miss the second click: then close it and try again.
for _ in 1 2 3; do
    click_at 15 $((menu_height / 2))
    click_at 30 $((menu_height + 12))
    for _ in $(seq 40); do alive || break; sleep 0.05; done
    alive || break
    xdotool key Escape Escape
    sleep 0.3
done
status=0
alive && fail "EXIT did not end the program"
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "EXIT ended with status $status"
step "EXIT ended the program with status 0"

# 4. The close control ends the program silently with status 0.
launch
wmctrl -i -c "$window"
for _ in $(seq 100); do alive || break; sleep 0.05; done
alive && fail "closing the window did not end the program"
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "closing ended with status $status"
step "closing the window ended the program with status 0"
echo "e2e: passed; screenshots in $shots"
