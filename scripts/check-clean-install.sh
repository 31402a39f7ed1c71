#!/bin/sh
# Installs the Debian package with apt on a fresh, minimal Debian 12 made
# with debootstrap, then uses it there as a user would: makes a card store,
# writes the cards and the board to PDF, and opens the program on a virtual
# display, then its card preview and the print dialog. The screens are saved
# in the work folder as finestra.png, anteprima.png and stampa.png.
# Needs root and the network; it is slow, so it is not part of the tests.
#   scripts/check-clean-install.sh PACKAGE.deb [WORK_FOLDER]
set -eu
deb=$(realpath "$1")
work=${2:-/tmp/numerella-clean-install}
root="$work/root"

command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap >/dev/null
if [ ! -x "$root/usr/bin/apt-get" ]; then
    mkdir -p "$root"
    debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian >/dev/null
fi

display=:57
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
mount -t proc proc "$root/proc"
cleanup() {
    kill "$xvfb" 2>/dev/null || true
    umount "$root/proc" "$root/tmp/.X11-unix" 2>/dev/null || true
}
trap cleanup EXIT

cp "$deb" "$root/tmp/numerella.deb"
chroot "$root" sh -c 'apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install --reinstall -y -qq /tmp/numerella.deb' >"$work/apt.log" 2>&1
echo "installed: $(chroot "$root" dpkg-query -W -f='${Package} ${Version}' numerella)"
echo "packages on the system: $(chroot "$root" dpkg-query -W -f='.\n' | wc -l)"

chroot "$root" sh -eu -c '
    mkdir -p /root/tombola && cd /root/tombola
    rm -f Data.prm cartelle.pdf tabellone.pdf
    numerella-tool store --cards 60 --seed 7 Data.prm
    numerella-tool cards --count 60 --series C --pdf cartelle.pdf
    numerella-tool board --pdf tabellone.pdf
    ls -l Data.prm cartelle.pdf tabellone.pdf
'
export DISPLAY=$display
screen() {
    window=$(xdotool search --sync --onlyvisible --name "$1" | head -n 1)
    sleep 2
    xwd -id "$window" -silent | xwdtopnm 2>/dev/null | pnmtopng >"$work/$2"
    echo "$work/$2"
}
chroot "$root" sh -c "cd /root/tombola && DISPLAY=$display numerella" >"$work/numerella.log" 2>&1 &
screen '^Numerella$' finestra.png
# The card button sits at the right of the lower group; the print command
# is the first button of the preview's toolbar.
xdotool search --onlyvisible --name '^Numerella$' mousemove --window %1 350 170 click 1
screen '^Anteprima di stampa$' anteprima.png
xdotool search --onlyvisible --name '^Anteprima di stampa$' mousemove --window %1 20 19 click 1
screen '^Stampa$' stampa.png
pkill -f "^numerella$" || true
echo "program output: $work/numerella.log"
