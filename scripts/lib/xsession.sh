# Sourced by the scripts that need a private X session. Xvfb picks a free
# display itself (-displayfd), runs with -noreset so that the last client
# leaving does not reset it, and everything started here is ended by its PID
# on every way out, nothing else.
#
#   xsession_start [wm] [bus]  an Xvfb of its own, exported as DISPLAY; with
#                              "wm" openbox too (the close control, and the
#                              form active again after a box), with "bus" a
#                              D-Bus session of its own (AT-SPI meets there)
#   xsession_end               ends what xsession_start started
#
# A caller with a trap of its own calls xsession_end from it; otherwise
# xsession_start sets the EXIT trap.

xsession_pids=()

xsession_end() {
    local pid
    for pid in "${xsession_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${xsession_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    xsession_pids=()
}

xsession_start() {
    local tool want_wm="" want_bus="" number="" file
    for tool in "$@"; do
        case $tool in wm) want_wm=1 ;; bus) want_bus=1 ;; esac
    done
    for tool in Xvfb ${want_wm:+openbox wmctrl} ${want_bus:+dbus-daemon}; do
        command -v "$tool" >/dev/null || { echo "xsession: $tool is not installed" >&2; exit 1; }
    done
    [ -n "$(trap -p EXIT)" ] || trap xsession_end EXIT
    file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -noreset -nolisten tcp 3>"$file" 2>/dev/null &
    xsession_pids+=($!)
    for _ in $(seq 200); do
        number=$(cat "$file")
        [ -n "$number" ] && break
        sleep 0.05
    done
    rm -f "$file"
    # Xvfb writes its number only once it accepts clients.
    [ -n "$number" ] || { echo "xsession: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$number"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    if [ -n "$want_bus" ]; then
        local address
        # dbus-daemon prints its address once it listens.
        coproc XSESSION_BUS { exec dbus-daemon --session --nofork --print-address 2>/dev/null; }
        xsession_pids+=("$XSESSION_BUS_PID")
        read -r -t 10 address <&"${XSESSION_BUS[0]}" || { echo "xsession: no D-Bus session" >&2; exit 1; }
        export DBUS_SESSION_BUS_ADDRESS=$address
        unset AT_SPI_BUS_ADDRESS
    fi
    if [ -n "$want_wm" ]; then
        openbox --sm-disable >/dev/null 2>&1 &
        xsession_pids+=($!)
        for _ in $(seq 100); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.05; done
        wmctrl -m >/dev/null 2>&1 || { echo "xsession: openbox did not start" >&2; exit 1; }
    fi
}
