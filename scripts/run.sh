#!/usr/bin/env bash
# Builds the Linux program and opens its window. PRESET=linux-release builds the optimised
# program instead of the debug one (default: linux, shared with scripts/test.sh).
# The program is real: a countdown that runs out powers this machine off.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${PRESET:-linux}
cmake --preset "$preset"
cmake --build --preset "$preset" --target shutdown-timer
exec "build/$preset/shutdown-timer" "$@"
