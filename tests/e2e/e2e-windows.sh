#!/usr/bin/env bash
# End-to-end run of the real vorlith.exe under Wine on a real X server: its
# own Xvfb and a fresh Wine prefix with a virtual desktop, driven with
# xdotool (type into Text1, press 计算, the error report, 文件 → 退出, the
# close control), read from outside with vorlith_probe.exe, which also
# listens as a screen reader does for what is read after 计算. Fails, never
# skips, when a tool or the display is missing; and fails when the probe
# does, whatever it was asked.
#
# usage: e2e-windows.sh VORLITH_EXE PROBE_EXE [SCREENSHOT_DIR]
set -euo pipefail
shopt -s inherit_errexit

exe=$1
probe_exe=$2
shots=${3:-$(pwd)}
mkdir -p "$shots"
for tool in import convert python3; do
    command -v "$tool" >/dev/null || { echo "e2e-windows: $tool is not installed" >&2; exit 1; }
done
source "$(dirname "$0")/../../scripts/lib/wine.sh"
source "$(dirname "$0")/../../scripts/lib/xsession.sh"

app_pid=""
listener_pid=""
cleanup() {
    status=$?
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$listener_pid" ] && kill "$listener_pid" 2>/dev/null || true
    wine_end
    xsession_end
    exit "$status"
}
trap cleanup EXIT

fail() { echo "e2e-windows: FAILED: $*" >&2; exit 1; }
step() { echo "e2e-windows: $*"; }

xsession_start
wine_prefix x11

# The probe's answer to "$@"; the run fails when the probe does.
probe() {
    local out status=0
    out=$("$wine" "$probe_exe" "$@" 2>/dev/null) || status=$?
    [ "$status" -eq 0 ] || fail "vorlith_probe $* failed with status $status"
    printf '%s\n' "${out//$'\r'/}"
}
# The value of KEY in the probe's output $1.
value() { awk -F '\t' -v key="$2" '$1 == key { print $2 }' <<<"$1"; }
# The probe's output for Form1 ($1: texts or places); the run fails when
# Form1 is not shown.
form() {
    local out
    out=$(probe "$1")
    [ "$(value "$out" form)" = 1 ] || fail "Form1 is not shown"
    printf '%s\n' "$out"
}
# The number of message boxes open.
boxes() {
    local out
    out=$(probe box)
    value "$out" boxes
}
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
        places=$(probe places)
        [ "$(value "$places" form)" = 1 ] && break
        alive || fail "vorlith.exe exited at start"
        sleep 0.2
    done
    [ "$(value "$places" form)" = 1 ] || fail "Form1 did not appear"
    missing=$(awk -F '\t' '$2 == "(missing)" { printf " %s", $1 }' <<<"$places")
    [ -z "$missing" ] || fail "Form1 lacks$missing"
    desktop=$(xdotool search --name 'Wine desktop' | head -n 1 || true)
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
    local texts field
    texts=$(form texts)
    for field in "${result_fields[@]}"; do printf '[%s]' "$(value "$texts" "$field")"; done
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
    local texts
    click "$1"
    xdotool key --delay 50 End shift+Home BackSpace
    [ -n "$2" ] && xdotool type --delay 50 "$2"
    sleep 0.2
    texts=$(form texts)
    [ "$(value "$texts" "$1")" = "$2" ] || fail "$1 does not read '$2' after typing"
}

# From the table of what Form1 shows: the result fields, the sample's
# results as the fields show them, and what a screen reader hears of them.
expected=$(python3 - "$(dirname "$0")/../support/form1_expected.json" <<'PY'
import json, sys
x = json.load(open(sys.argv[1], encoding="utf-8"))
print(" ".join(x["results"]))
print("".join(f"[{r}]" for r in x["sample_results"]))
print(x["reading_after_sample"])
PY
)
read -r -a result_fields <<<"$(sed -n 1p <<<"$expected")"
sample=$(sed -n 2p <<<"$expected")
reading=$(sed -n 3p <<<"$expected")
empty=$(printf '[]%.0s' "${result_fields[@]}")
[ "${#result_fields[@]}" -eq 8 ] && [ -n "$reading" ] || fail "form1_expected.json: no results"

step "start"
launch
shown=$(results)
[ "$shown" = "$empty" ] || fail "result fields are not empty at start: $shown"
read -r frame_x frame_y frame_w frame_h <<<"$(value "$places" frame)"
read -r client_x client_y <<<"$(value "$places" client)"
import -window root -crop "${frame_w}x${frame_h}+${frame_x}+${frame_y}" "$shots/windows-start.png"

step "typing into Text1 and pressing 计算; a screen reader hears the results once"
type_into Text1 "9 7"
heard="$shots/windows-listener.txt"
"$wine" "$probe_exe" listen >"$heard" 2>/dev/null &
listener_pid=$!
for _ in $(seq 50); do grep -q '^ready' "$heard" && break; sleep 0.2; done
grep -q '^ready' "$heard" || fail "the listener did not start"
click Command1
expect_results "$sample"
for _ in $(seq 25); do grep -q '^live' "$heard" && break; sleep 0.2; done
probe mark 0 >/dev/null
status=0
wait "$listener_pid" || status=$?
listener_pid=""
[ "$status" -eq 0 ] || fail "the listener ended with status $status"
grep -q '^mark' "$heard" || fail "the listener missed the mark"
lines=$(tr -d '\r' <"$heard" | awk -F '\t' '$1 == "live" { print $2 }')
[ "$(grep -c . <<<"$lines")" -eq 1 ] || fail "heard $(grep -c . <<<"$lines") readings: $lines"
[ "$lines" = "$reading" ] || fail "heard '$lines', not '$reading'"

step "error report"
type_into Text1 "abc"
click Command1
box=""
for _ in $(seq 25); do
    box=$(probe box)
    [ "$(value "$box" boxes)" = 0 ] || break
    sleep 0.2
done
[ "$(value "$box" boxes)" = 1 ] || fail "$(value "$box" boxes) message boxes, not the error report"
[ "$(value "$box" title)" = Vorlith ] || fail "report caption: $(value "$box" title)"
[ "$(value "$box" text)" = "实时错误 '11':||除数为零" ] || fail "report text: $(value "$box" text)"
[ "$(value "$box" button)" = "确定" ] || fail "report buttons: $(value "$box" button)"
import -window root "$shots/windows-report.png"
expect_results "$empty"
xdotool key Return
sleep 0.5
open=$(boxes)
[ "$open" = 0 ] || fail "$open message boxes are still open"
alive || fail "the program ended after the error report"
texts=$(form texts)
[ "$(value "$texts" Text1)" = abc ] || fail "Text1 lost its text"
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
