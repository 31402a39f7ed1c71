#!/bin/sh
# Installs the Debian 12 packages Numerella needs to build, run and test,
# and only those that are missing, so a second run costs nothing.
set -eu

packages="cmake g++ make pkg-config
qt6-base-dev qt6-base-dev-tools qt6-l10n-tools libqt6sql6-sqlite qt6-translations-l10n libgl-dev libcups2-dev
fonts-liberation2 fonts-wine fonts-dejavu-core fonts-dejavu-extra fonts-inter fonts-cabin
xvfb xauth poppler-utils sqlite3 xdg-utils
dpkg-dev desktop-file-utils appstream"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $package"
    fi
done

if [ -n "$missing" ]; then
    echo "Installazione dei pacchetti mancanti:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing
fi
