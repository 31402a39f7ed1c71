#!/bin/sh
# Builds Numerella optimised and runs every benchmark.
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

build=build/release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel "$(nproc)"

export QT_QPA_PLATFORM=offscreen
for bench in "$build"/bench/bench_*; do
    echo "== $(basename "$bench")"
    "$bench" "$build"
done
