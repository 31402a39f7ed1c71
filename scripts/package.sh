#!/bin/sh
# Builds the Debian package of Numerella: a release build of the program and
# the tool, installed under /usr by CPack. Prints the package's path.
#   scripts/package.sh [BUILD_FOLDER]     (default build/package)
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

build=${1:-build/package}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DNUMERELLA_SANITIZE=OFF -DNUMERELLA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/numerella_*.deb
