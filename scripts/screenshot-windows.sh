#!/usr/bin/env bash
# Takes a screenshot of the Windows program as it opens, under Wine in Xvfb, with the fonts the
# end-to-end tests use, and writes docs/screenshot-windows.png. Builds the program if needed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
output=$root/docs/screenshot-windows.png
exe=$root/build/windows/shutdown-timer.exe

if [ ! -f "$exe" ]; then
    cmake --preset windows
    cmake --build --preset windows --target shutdown-timer
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/shutdown-timer-shot.XXXXXX")
xvfb_pids=()
cleanup() {
    WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
    local pid
    for pid in "${xvfb_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# shellcheck source=tests/e2e_win32/wine_env.sh
source "$root/tests/e2e_win32/wine_env.sh"

start_xvfb display
export DISPLAY=$display
log "making a Wine prefix"
make_prefix "$work/prefix"

wine "$exe" </dev/null >/dev/null 2>&1 &
caption='Brelvo_'
window=
for _ in $(seq 300); do
    window=$(xdotool search --name "$caption" 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "the window did not appear" >&2
    exit 1
fi
sleep 2  # let it paint

# The virtual desktop draws the frame too, so the window's X geometry is its outer rectangle.
geometry=$(xwininfo -id "$window")
field() { sed -n "s/^ *$1: *//p" <<<"$geometry"; }
x=$(field 'Absolute upper-left X') y=$(field 'Absolute upper-left Y')
width=$(field Width) height=$(field Height)
mkdir -p "$(dirname "$output")"
import -window root -crop "${width}x${height}+${x}+${y}" +repage "$output"
log "wrote $output (${width}x${height} at ${x},${y})"
