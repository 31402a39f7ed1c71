#!/bin/sh
# Builds Numerella, makes a demo card store of 6000 cards in demo/ when there
# is none, and starts the program there.
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

build=build/release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel "$(nproc)"

mkdir -p demo
if [ ! -e demo/Data.prm ]; then
    "$build/tools/numerella-tool" store --cards 6000 --seed 90 demo/Data.prm
fi
cd demo
exec "../$build/src/numerella"
