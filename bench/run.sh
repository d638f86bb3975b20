#!/usr/bin/env bash
# The timing and footprint benchmarks, printed as one Markdown table.
#   bench/run.sh           full run: 1-minute entries on an idle and on a busy machine,
#                          1000 ticks of drift, 11 starts of each Linux program
#   bench/run.sh --short   what CI runs: idle only, 200 ticks, 3 starts
# Nothing here reaches a real power service: the Linux program talks to a mock logind on a
# private bus, the Windows program runs under Wine, where the power-off ends only the prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

short=0
[ "${1:-}" = "--short" ] && short=1
if [ $short = 1 ]; then
    loads=(idle) drift_ticks=200 drift_period=50 starts=3
else
    loads=(idle busy) drift_ticks=1000 drift_period=100 starts=11
fi
python=/usr/bin/python3  # Debian's, which has dbusmock

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    [ -n "${WINEPREFIX:-}" ] && WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

log() { printf '%s\n' "$*" >&2; }

log "--- building"
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows >/dev/null
linux_bin=$root/build/linux-release/shutdown-timer
bench_bin=$root/build/linux-release/bench
exe=$root/build/windows/shutdown-timer.exe
drift_exe=$root/build/windows/bench/tick_drift_win32.exe

# An X display of our own, without a window manager.
display=99
while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=":$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# Private session and system buses: no program started here can reach the machine's own.
start_bus() {
    dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$work/$1.pid" >"$work/$1.addr"
    pids+=("$(cat "$work/$1.pid")")
    head -n1 "$work/$1.addr"
}
DBUS_SESSION_BUS_ADDRESS=$(start_bus session)
DBUS_SYSTEM_BUS_ADDRESS=$(start_bus system)
export DBUS_SESSION_BUS_ADDRESS DBUS_SYSTEM_BUS_ADDRESS

# A mock logind that accepts the power-off, logging each call with its wall-clock time.
start_logind() {
    : >"$work/logind.log"
    $python -m dbusmock --system --template logind -l "$work/logind.log" >/dev/null 2>&1 &
    logind_pid=$!
    pids+=($logind_pid)
    for _ in $(seq 100); do
        dbus-send --system --print-reply --dest=org.freedesktop.DBus / \
            org.freedesktop.DBus.NameHasOwner string:org.freedesktop.login1 2>/dev/null |
            grep -q 'boolean true' && break
        sleep 0.05
    done
    # The template predates PowerOffWithFlags; the program falls back to PowerOff(false).
    dbus-send --system --print-reply --dest=org.freedesktop.login1 /org/freedesktop/login1 \
        org.freedesktop.DBus.Mock.AddMethod string:org.freedesktop.login1.Manager \
        string:PowerOffWithFlags string:t string: string: >/dev/null
}
stop_logind() { kill "$logind_pid" 2>/dev/null || true; wait "$logind_pid" 2>/dev/null || true; }

busy_pids=()
set_load() {
    for pid in "${busy_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    busy_pids=()
    if [ "$1" = busy ]; then
        for _ in $(seq "$(nproc)"); do
            (while :; do :; done) &
            busy_pids+=($!)
            pids+=($!)
        done
    fi
}

# Types a 1-minute type-1 entry with the keyboard only (focus starts on 按钮1) and presses the
# button.
confirm_one_minute() {
    local window=$1
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
    xdotool key --window "$window" Tab 1 Tab space shift+Tab shift+Tab
    sleep 0.3
    xdotool key --window "$window" space
}

caption_pattern='Brelvo_'

# With the program just started: confirms a 1-minute entry in its window once it shows, then
# waits (up to 80 s) until the log $1 has a line matching $2.
confirm_and_wait() {
    local window
    window=$(xdotool search --sync --onlyvisible --name "$caption_pattern" | head -n1)
    sleep 0.5
    confirm_one_minute "$window"
    for _ in $(seq 800); do
        grep -q "$2" "$1" && break
        sleep 0.1
    done
}

# The mock logs, on one clock, the idle inhibitor taken at the confirmation and the power-off.
linux_delay() {
    start_logind
    "$linux_bin" >/dev/null 2>&1 &
    local app=$!
    pids+=($app)
    confirm_and_wait "$work/logind.log" '^[0-9.]* PowerOff'
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    stop_logind
    awk '
        $2 == "Inhibit" && !held { held = $1 }
        $2 ~ /^PowerOff/ && !off { off = $1 }
        END {
            if (!held || !off) { print "no call"; exit }
            printf "%+.0f ms", (off - held - 60) * 1000
        }' "$work/logind.log"
}

# Wine: the relay trace times the first SetTimer (the confirmation arming the countdown) and
# ExitWindowsEx on Wine's own clock.
export WINEPREFIX=$work/wine WINEDEBUG=-all
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ \
    /d 'user32.SetTimer;user32.ExitWindowsEx' /f >/dev/null 2>&1
wineserver -w

windows_delay() {
    local trace=$work/relay.log
    WINEDEBUG=+timestamp,+relay wine "$exe" 2>"$trace" &
    local app=$!
    pids+=($app)
    confirm_and_wait "$trace" 'Call user32.ExitWindowsEx'
    sleep 0.5
    kill "$app" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    awk -F: '
        /Call user32.SetTimer/ && !set { set = $1 }
        /Call user32.ExitWindowsEx/ && !exit_ { exit_ = $1 }
        END {
            if (!set || !exit_) { print "no call"; exit }
            printf "%+.0f ms", (exit_ - set - 60) * 1000
        }' "$trace"
}

declare -A delay
for load in "${loads[@]}"; do
    log "--- 1-minute entries, $load machine"
    set_load "$load"
    delay[linux,$load]=$(linux_delay)
    delay[windows,$load]=$(windows_delay)
    set_load idle
done

log "--- tick drift, $drift_ticks ticks of $drift_period ms"
drift_linux=$("$bench_bin/tick_drift_qt" "$drift_ticks" "$drift_period")
drift_windows=$(wine "$drift_exe" "$drift_ticks" "$drift_period" | tr -d '\r')
field() { sed -n "s/.*schedule=$1 .*$2=\([^ ]*\).*/\1/p"; }

log "--- footprint"
exe_size=$(stat -c %s "$exe")
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ {print $3}' | tr 'A-Z' 'a-z' |
    sort | paste -sd, | sed 's/,/, /g')

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
measure_start() {
    local out=$work/starts
    : >"$out"
    for _ in $(seq "$starts"); do
        "$bench_bin/window_shown" --settle 1000 "$@" 2>/dev/null >>"$out" || true
    done
    local ms kb
    ms=$(sed -n 's/.*shown_ms=\([^ ]*\).*/\1/p' "$out" | median)
    kb=$(sed -n 's/.*rss_kb=\([^ ]*\).*/\1/p' "$out" | median)
    printf '%s %s' "$ms" "$kb"
}
read -r ours_ms ours_kb <<<"$(measure_start "$linux_bin")"
read -r empty_ms empty_kb <<<"$(measure_start "$bench_bin/empty_qt_window")"
read -r text_ms text_kb <<<"$(measure_start "$bench_bin/empty_qt_window" --text)"
if command -v kshutdown >/dev/null; then
    read -r ksd_ms ksd_kb <<<"$(measure_start kshutdown)"
else
    ksd_ms=n/a ksd_kb=n/a
fi

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f×", a / b; else print "n/a" }'; }
mib() { awk -v k="$1" 'BEGIN { if (k ~ /^[0-9.]+$/) printf "%.1f MiB", k / 1024; else print k }'; }

cat <<TABLE

| measurement | Windows (under Wine) | Linux (Qt 6) |
|---|---|---|
TABLE
for load in "${loads[@]}"; do
    echo "| power-off request after a 1-minute entry, $load machine (vs. 60 s) | ${delay[windows,$load]} | ${delay[linux,$load]} |"
done
for schedule in grid naive; do
    name="tick $drift_ticks of $drift_period ms, lateness of the last tick"
    [ $schedule = grid ] && label="$name, program's schedule" || label="$name, naive re-arming"
    echo "| $label | $(echo "$drift_windows" | field $schedule last_late_ms) ms | $(echo "$drift_linux" | field $schedule last_late_ms) ms |"
done
echo "| worst tick lateness, program's schedule | $(echo "$drift_windows" | field grid max_late_ms) ms | $(echo "$drift_linux" | field grid max_late_ms) ms |"
echo "| executable size | $exe_size bytes | $(stat -c %s "$linux_bin") bytes |"
echo "| imported DLLs | $imports | |"
cat <<TABLE

| Linux program, median of $starts starts under Xvfb | start to window shown | resident memory |
|---|---|---|
| shutdown-timer | $ours_ms ms ($(ratio "$ours_ms" "$empty_ms") of empty) | $(mib "$ours_kb") ($(ratio "$ours_kb" "$empty_kb") of empty) |
| empty Qt 6 window | $empty_ms ms | $(mib "$empty_kb") |
| empty Qt 6 window with one line of Chinese text | $text_ms ms | $(mib "$text_kb") |
| kshutdown | $ksd_ms ms | $(mib "$ksd_kb") |
TABLE
