#!/usr/bin/env bash
# Measures the Linux program on a private Xvfb: the time from starting the process to its
# window's first paint, and the resident memory (VmRSS) of the running program once the
# window is up. Prints each run and the medians. Usage: scripts/measure-startup.sh [runs]
# (default 15); PRESET=linux-release measures the optimised build (default: linux).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
preset=${PRESET:-linux}

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target shutdown-timer >/dev/null

. scripts/lib-xvfb.sh
start_xvfb

# The clock starts just before exec, in the process that execs; the program reports its first
# paint on the same monotonic clock (SHUTDOWN_TIMER_REPORT_SHOWN).
python3 - "build/$preset/shutdown-timer" "$runs" <<'PY'
import os, statistics, subprocess, sys, time

program, runs = sys.argv[1], int(sys.argv[2])
env = dict(os.environ, SHUTDOWN_TIMER_REPORT_SHOWN='1')
shown_ms, rss_kib = [], []
for run in range(runs):
    started = time.monotonic_ns()
    proc = subprocess.Popen([program], env=env, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, text=True)
    try:
        line = proc.stdout.readline().split()
        if len(line) != 2 or line[0] != 'shown':
            sys.exit(f'run {run + 1}: the window was not shown')
        shown_ms.append((int(line[1]) - started) / 1e6)
        time.sleep(0.3)  # settled: first paint flushed, start-up allocations done
        with open(f'/proc/{proc.pid}/status') as status:
            rss = next(l for l in status if l.startswith('VmRSS:'))
        rss_kib.append(int(rss.split()[1]))
        print(f'run {run + 1:2}: window shown after {shown_ms[-1]:6.1f} ms, '
              f'VmRSS {rss_kib[-1] / 1024:5.1f} MiB')
    finally:
        proc.terminate()
        proc.wait()
print(f'median of {runs}: window shown after {statistics.median(shown_ms):.1f} ms '
      f'(min {min(shown_ms):.1f}, max {max(shown_ms):.1f}); '
      f'VmRSS {statistics.median(rss_kib) / 1024:.1f} MiB')
PY
