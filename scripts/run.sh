#!/bin/sh
# Builds Numerella, makes a demo card store of 6000 cards in demo/ when there
# is none, and starts the program there.
set -eu
cd "$(dirname "$0")/.."

./scripts/build-release.sh numerella numerella-tool

mkdir -p demo
if [ ! -e demo/Data.prm ]; then
    build/release/tools/numerella-tool store --cards 6000 --seed 90 demo/Data.prm
fi
cd demo
exec ../build/release/src/numerella
