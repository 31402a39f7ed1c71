#!/bin/sh
# Builds Numerella optimised and runs every benchmark.
set -eu
cd "$(dirname "$0")/.."

./scripts/build-release.sh

export QT_QPA_PLATFORM=offscreen
for bench in build/release/bench/bench_*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench" build/release
done
