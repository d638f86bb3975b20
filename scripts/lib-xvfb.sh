# Sourced by the scripts that show the Linux window on a private X server: a bare Xvfb on a
# free display number, stopped (with everything started from here) when the script exits.
# No window manager runs there, so windows have no frame or title bar.

xvfb_pid=""
program_pids=()

stop_xvfb() {
    local pid
    for pid in "${program_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}

# Starts Xvfb and exports DISPLAY.
start_xvfb() {
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do
        n=$((n + 1))
    done
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    trap stop_xvfb EXIT
    export DISPLAY=":$n"
    local tries=0
    until xdpyinfo >/dev/null 2>&1; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ]; then
            echo "Xvfb did not start on $DISPLAY" >&2
            exit 1
        fi
        sleep 0.05
    done
}

# The program must never reach the real power service from a script: it gets a system bus
# address where no bus is. Nobody confirms an entry here anyway.
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=/nonexistent/shutdown-timer-script"
