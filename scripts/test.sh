#!/bin/sh
# Builds Numerella with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test without a display.
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

build=build/test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUMERELLA_SANITIZE=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=print_stacktrace=1
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
