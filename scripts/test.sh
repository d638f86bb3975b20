#!/usr/bin/env bash
# Builds everything and runs every test: the Linux program and core unit tests, the core under
# ASan/UBSan, the Windows program end to end under Wine, and the fuzzers.
# FUZZ_SECONDS (default 60) sets how long each fuzzer runs; 0 skips them.
set -euo pipefail
cd "$(dirname "$0")/.."

step() { printf '\n=== %s\n' "$*"; }

step "Linux program and unit tests"
cmake --preset linux
cmake --build --preset linux
ctest --preset linux

step "Unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan
cmake --build --preset asan
ctest --preset asan

step "Windows program, end to end under Wine"
cmake --preset windows
cmake --build --preset windows
ctest --preset windows

step "Fuzzing"
scripts/fuzz.sh "${FUZZ_SECONDS:-60}"
