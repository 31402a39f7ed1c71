#!/bin/sh
# Installs what is missing and builds Numerella optimised into build/release:
# the targets named as arguments, or everything.
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
if [ "$#" -gt 0 ]; then
    cmake --build build/release --parallel "$(nproc)" --target "$@"
else
    cmake --build build/release --parallel "$(nproc)"
fi
