#!/bin/sh
# Makes the README's pictures from the real program: the main window as it
# opens on a virtual display, and page 1 of a card sheet as the tool writes
# it to PDF. Both land in docs/immagini/.
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
for package in xdotool x11-apps netpbm; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" \
        || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$package" >/dev/null
done
./scripts/build-release.sh numerella numerella-tool >/dev/null

out=docs/immagini
mkdir -p "$out"
top=$(pwd)
work=$(mktemp -d)
cleanup() {
    [ -n "${program:-}" ] && kill "$program" 2>/dev/null
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

tool="$top/build/release/tools/numerella-tool"
(cd "$work" && "$tool" store --cards 6000 --seed 90 Data.prm >/dev/null)

# Page 1 of the card sheet, at 72 dots per inch.
(cd "$work" && "$tool" cards --count 5 --series A --pdf cartelle.pdf)
pdftoppm -png -r 72 -f 1 -l 1 -singlefile "$work/cartelle.pdf" "$out/cartelle-pagina-1"

# The main window, on a display of its own.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
while [ ! -s "$work/display" ]; do sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
(cd "$work" && exec "$top/build/release/src/numerella") 2>/dev/null &
program=$!
window=$(xdotool search --sync --onlyvisible --name '^Numerella$' | head -n 1)
sleep 1   # let it paint
xwd -id "$window" -silent | xwdtopnm 2>/dev/null | pnmtopng >"$out/finestra-principale.png"

echo "$out/finestra-principale.png"
echo "$out/cartelle-pagina-1.png"
