#!/usr/bin/env bash
# Takes docs/screenshot-linux.png: the Linux window as it starts, shown on a bare Xvfb with the
# WenQuanYi Zen Hei font for the Chinese texts, cropped to the window. Xvfb runs no window
# manager, so the picture is the window's client area without a title bar.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${PRESET:-linux}
out=${1:-docs/screenshot-linux.png}

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target shutdown-timer >/dev/null
fc-list | grep -qi "WenQuanYi Zen Hei" || {
    echo "the fonts-wqy-zenhei package is needed for the Chinese texts" >&2
    exit 1
}

. scripts/lib-xvfb.sh
start_xvfb
"build/$preset/shutdown-timer" &
program_pids+=($!)

window=$(xdotool search --sync --onlyvisible --name '^Brelvo_' | head -n 1)
sleep 0.5  # let the first paint finish
eval "$(xdotool getwindowgeometry --shell "$window")"
mkdir -p "$(dirname "$out")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
echo "$out: ${WIDTH}x${HEIGHT} at ${X},${Y} on a ${DISPLAY} screen"
