#!/usr/bin/env bash
# End-to-end run of the real vorlith.exe under Wine on a real X server: its
# own Xvfb and a fresh Wine prefix with a virtual desktop, driven with
# xdotool (type into Text1, press 计算, the error report, 文件 → 退出, the
# close control), read from outside with vorlith_probe.exe. Fails, never
# skips, when a tool or the display is missing.
#
# usage: e2e-windows.sh VORLITH_EXE PROBE_EXE [SCREENSHOT_DIR]
set -euo pipefail

exe=$1
probe_exe=$2
shots=${3:-$(pwd)}
mkdir -p "$shots"
for tool in Xvfb xdotool import convert python3; do
    command -v "$tool" >/dev/null || { echo "e2e-windows: $tool is not installed" >&2; exit 1; }
done
source "$(dirname "$0")/../../scripts/lib/wine.sh"

xvfb_pid=""
app_pid=""
cleanup() {
    status=$?
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    wine_end
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    exit "$status"
}
trap cleanup EXIT

fail() { echo "e2e-windows: FAILED: $*" >&2; exit 1; }
step() { echo "e2e-windows: $*"; }

display=80
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -noreset -nolisten tcp &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
xdotool getdisplaygeometry >/dev/null || fail "Xvfb did not start"
wine_prefix x11

probe() { "$wine" "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
# The value of KEY in the probe's output $1.
value() { awk -F '\t' -v key="$2" '$1 == key { print $2 }' <<<"$1"; }
alive() { kill -0 "$app_pid" 2>/dev/null; }
# Waits for vorlith.exe to end after $1 (what ended it), with status 0.
expect_end() {
    for _ in $(seq 25); do alive || break; sleep 0.2; done
    alive && fail "$1 did not end the program"
    local status=0
    wait "$app_pid" || status=$?
    app_pid=""
    [ "$status" -eq 0 ] || fail "$1 ended it with status $status"
}

# Starts vorlith.exe (through `start` with the options $@, if any) and waits
# for Form1; sets $places and $desktop.
launch() {
    if [ $# -gt 0 ]; then
        "$wine" start /wait "$@" /unix "$exe" &
    else
        "$wine" "$exe" &
    fi
    app_pid=$!
    places=""
    for _ in $(seq 100); do
        places=$(probe places) && break
        alive || fail "vorlith.exe exited at start"
        sleep 0.2
    done
    [ -n "$places" ] || fail "Form1 did not appear"
    desktop=$(xdotool search --name 'Wine desktop' | head -n 1)
    [ -n "$desktop" ] || fail "no Wine desktop window"
}
# Clicks the centre of control $1, or the screen point "$1 $2".
click() {
    local point
    if [ $# -eq 1 ]; then point=$(value "$places" "$1"); else point="$1 $2"; fi
    # shellcheck disable=SC2086
    xdotool mousemove --window "$desktop" $point click 1
    sleep 0.3
}
results() {
    local texts
    texts=$(probe texts)
    for field in Label16 Label19 Label22 Label25 Label28 Label31 Label34 Label36; do
        printf '[%s]' "$(value "$texts" "$field")"
    done
}
# Waits until the results read $1.
expect_results() {
    local seen=""
    for _ in $(seq 25); do
        seen=$(results)
        [ "$seen" = "$1" ] && return 0
        sleep 0.2
    done
    fail "results read $seen, not $1"
}
# Replaces the text of box $1 by typing $2.
type_into() {
    click "$1"
    xdotool key --delay 50 End shift+Home BackSpace
    [ -n "$2" ] && xdotool type --delay 50 "$2"
    sleep 0.2
    [ "$(value "$(probe texts)" "$1")" = "$2" ] || fail "$1 does not read '$2' after typing"
}

sample='[ 2.08247422680412][ 20.7411835026898][ 2.09125][ 1.72474226804124][ 1.79690721649485][ .9][ .0875][ 7.21649484536082]'
empty='[][][][][][][][]'

step "start"
launch
[ "$(results)" = "$empty" ] || fail "result fields are not empty at start"
read -r frame_x frame_y frame_w frame_h <<<"$(value "$places" frame)"
read -r client_x client_y <<<"$(value "$places" client)"
import -window root -crop "${frame_w}x${frame_h}+${frame_x}+${frame_y}" "$shots/windows-start.png"

step "typing into Text1 and pressing 计算"
type_into Text1 "9 7"
click Command1
expect_results "$sample"

step "error report"
type_into Text1 "abc"
click Command1
box=""
for _ in $(seq 25); do box=$(probe box) && break; sleep 0.2; done
[ -n "$box" ] || fail "no error report appeared"
[ "$(value "$box" title)" = Vorlith ] || fail "report caption: $(value "$box" title)"
[ "$(value "$box" text)" = "实时错误 '11':||除数为零" ] || fail "report text: $(value "$box" text)"
[ "$(value "$box" button)" = "确定" ] || fail "report buttons: $(value "$box" button)"
import -window root "$shots/windows-report.png"
expect_results "$empty"
xdotool key Return
sleep 0.5
probe box >/dev/null && fail "the report is still open"
alive || fail "the program ended after the error report"
[ "$(value "$(probe texts)" Text1)" = abc ] || fail "Text1 lost its text"
type_into Text1 "97"
click Command1
expect_results "$sample"
import -window root -crop "${frame_w}x${frame_h}+${frame_x}+${frame_y}" "$shots/windows-calculated.png"
step "report shown, dismissed, program goes on"

step "文件 → 退出"
for _ in 1 2 3; do
    click $((client_x + 15)) $((client_y - 10))  # 文件
    click $((client_x + 30)) $((client_y + 10))  # 退出, the first item
    for _ in $(seq 25); do alive || break; sleep 0.2; done
    alive || break
    xdotool key Escape Escape
done
expect_end EXIT

step "started maximised (a shortcut set so), closed with the close control"
normal_size="$frame_w $frame_h"
launch /max
read -r frame_x frame_y frame_w frame_h <<<"$(value "$places" frame)"
[ "$frame_w $frame_h" = "$normal_size" ] || fail "started maximised, the frame is $frame_w x $frame_h"
read -r client_x client_y <<<"$(value "$places" client)"
# The close box sits at the right end of the caption, a caption's height
# above the menu bar.
border=$((client_x - frame_x))
click $((frame_x + frame_w - border - 10)) $((frame_y + border + 8))
expect_end "the close control"
echo "e2e-windows: passed; screenshots in $shots"
