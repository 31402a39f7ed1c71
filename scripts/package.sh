#!/bin/sh
# Builds the Debian package of Numerella: a release build of the program and
# the tool, installed under /usr by CPack. Prints the package's path.
#   scripts/package.sh [BUILD_FOLDER]     (default build/package)
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

build=${1:-build/package}
# Debian's own hardening (stack protector, fortified calls, read-only
# relocations bound at start), as its packages are built.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DNUMERELLA_SANITIZE=OFF -DNUMERELLA_BUILD_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
if ! cmake --build "$build" --parallel "$(nproc)" >"$build/build.log" 2>&1; then
    cat "$build/build.log" >&2
    exit 1
fi
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/numerella_*.deb
