#!/usr/bin/env bash
# Runs each libFuzzer target for the given number of seconds (default 60) and prints what it
# did. A crash or a broken invariant fails the script and leaves the input in build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ "$seconds" -gt 0 ] || exit 0

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in fuzz_parse_integer fuzz_confirm; do
    corpus=build/fuzz/corpus-$target
    mkdir -p "$corpus"
    echo "--- $target, $seconds s"
    (cd build/fuzz && "./tests/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        "corpus-$target" 2>&1 | grep -E '^(stat::|#[0-9]+ *DONE|==[0-9]+==|SUMMARY|Done)' )
done
