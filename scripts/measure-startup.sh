#!/usr/bin/env bash
# Measures the Linux program on a private Xvfb: the time from starting the process to its
# window being shown (mapped), and the resident memory (VmRSS) one second later, when start-up
# has settled. Prints each run and the medians. Usage: scripts/measure-startup.sh [runs]
# (default 15); PRESET=linux-release measures the optimised build (default: linux).
# bench/run.sh puts the same numbers beside an empty Qt window and kshutdown.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
preset=${PRESET:-linux}

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target shutdown-timer window_shown >/dev/null

. scripts/lib-xvfb.sh
start_xvfb

for run in $(seq "$runs"); do
    printf 'run %2d: ' "$run"
    "build/$preset/bench/window_shown" "build/$preset/shutdown-timer" 2>/dev/null
done | tee /dev/stderr | awk '
    { split($3, a, "="); split($4, b, "="); ms[NR] = a[2]; kb[NR] = b[2] }
    function median(v, n,   i, j, t) {
        for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
        return (n % 2) ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
    }
    END { printf "median of %d: window shown after %.1f ms, VmRSS %.1f MiB\n", NR, median(ms, NR), median(kb, NR) / 1024 }'
