#!/usr/bin/env bash
# Builds the packages: build/linux-release/packages/shutdown-timer_<version>_amd64.deb and
# build/windows/packages/shutdown-timer-<version>-windows-x64.zip.
set -euo pipefail
cd "$(dirname "$0")/.."

for preset in linux-release windows; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    (cd "build/$preset" && cpack >/dev/null)
done
ls -l build/linux-release/packages/*.deb build/windows/packages/*.zip
