#!/usr/bin/env bash
# End-to-end run of the real program on a real X server: starts its own X
# session (Xvfb, openbox for the close control, a private D-Bus session),
# then drives the window with xdotool: Calculate, the error report and its
# dismissal, EXIT, and the close control. What the window shows is read
# through AT-SPI (a11y_probe.py) and compared with
# tests/support/form1_expected.json. Last, a fresh start is read as Orca
# reads it (a11y_read.py: names, results, the events it speaks). Fails,
# never skips, when a tool or the display is missing.
#
# usage: e2e.sh PROGRAM [SCREENSHOT_DIR]
set -euo pipefail

program=$1
shots=${2:-$(pwd)}
here=$(cd "$(dirname "$0")" && pwd)
expected=$here/../support/form1_expected.json
mkdir -p "$shots"
command -v import >/dev/null || { echo "e2e: import (ImageMagick) is not installed" >&2; exit 1; }
/usr/bin/python3 -c 'import pyatspi' || { echo "e2e: python3-pyatspi is not installed" >&2; exit 1; }
source "$here/../../scripts/lib/xsession.sh"
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    xsession_end
}
trap cleanup EXIT
# The program's AT-SPI bridge and the probes meet on the session's own bus.
xsession_start wm bus
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

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

# 5. Read by a screen reader's library, as Orca reads it.
"$program" &
app_pid=$!
/usr/bin/python3 "$here/a11y_read.py" "$expected" || fail "what a screen reader gets (above)"
step "a screen reader reads the names, the results and one notification per command"
echo "e2e: passed; screenshots in $shots"
