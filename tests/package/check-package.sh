#!/bin/sh
# Builds the Debian package and checks what a user's apt would get: the
# files it installs and nothing else, dependencies that Debian 12 has and
# that bring what the programs load at run time, a valid desktop entry and
# icons of the sizes they claim, and programs that run from the unpacked
# tree in a folder of their own.
#   check-package.sh SOURCE_FOLDER WORK_FOLDER
set -eu
source=$1
work=$2

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

deb=$("$source/scripts/package.sh" "$work/build" | tail -n 1)
[ -f "$deb" ] || fail "no package built"
echo "package: $deb ($(wc -c <"$deb") bytes)"

[ "$(dpkg-deb -f "$deb" Package)" = numerella ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture"

# The files, and nothing beside them.
expected="./usr/bin/numerella
./usr/bin/numerella-tool
./usr/share/applications/example.numerella.Numerella.desktop
./usr/share/doc/numerella/changelog.gz
./usr/share/doc/numerella/copyright
./usr/share/icons/hicolor/128x128/apps/numerella.png
./usr/share/icons/hicolor/16x16/apps/numerella.png
./usr/share/icons/hicolor/24x24/apps/numerella.png
./usr/share/icons/hicolor/32x32/apps/numerella.png
./usr/share/icons/hicolor/48x48/apps/numerella.png
./usr/share/man/man1/numerella-tool.1.gz
./usr/share/man/man1/numerella.1.gz
./usr/share/metainfo/example.numerella.Numerella.metainfo.xml"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort)
[ "$files" = "$expected" ] || fail "file list:
$files"

# Dependencies: the Qt libraries the programs link, what they load by name,
# the stand-in fonts; no build-only or sanitizer packages.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6sql6 \
    libqt6sql6-sqlite qt6-translations-l10n libcups2 libc6 libstdc++6 \
    fonts-inter fonts-liberation2 fonts-wine fonts-cabin fonts-dejavu-core fonts-dejavu-extra; do
    echo "$depends" | tr ',' '\n' | grep -q "^ *$package\( \|$\)" || fail "missing dependency $package"
done
echo "$depends" | grep -q -- '-dev\|asan\|ubsan' && fail "build-only dependency in: $depends"
# Each dependency is a Debian 12 package at a version this machine has.
echo "$depends" | tr ',' '\n' | while read -r name relation; do
    installed=$(dpkg-query -W -f='${Version}' "$name" 2>/dev/null) || fail "$name is no installed package"
    if [ -n "$relation" ]; then
        operator=$(echo "$relation" | sed 's/^(\([<>=]*\) .*/\1/')
        version=$(echo "$relation" | sed 's/^([<>=]* \(.*\))$/\1/')
        case $operator in
            '>=') dpkg --compare-versions "$installed" ge "$version" ;;
            '=') dpkg --compare-versions "$installed" eq "$version" ;;
            *) false ;;
        esac || fail "$name $installed does not satisfy $relation"
    fi
done

unpacked="$work/unpacked"
rm -rf "$unpacked"
dpkg-deb -x "$deb" "$unpacked"

desktop="$unpacked/usr/share/applications/example.numerella.Numerella.desktop"
desktop-file-validate "$desktop" || fail "desktop entry"
grep -q '^Categories=Office;$' "$desktop" || fail "category"
grep -q '^Icon=numerella$' "$desktop" || fail "icon name"
appstreamcli validate --no-net --pedantic "$unpacked/usr/share/metainfo/example.numerella.Numerella.metainfo.xml" >/dev/null \
    || fail "software-centre description"
for size in 16 24 32 48 128; do
    icon="$unpacked/usr/share/icons/hicolor/${size}x${size}/apps/numerella.png"
    # PNG width and height: big-endian words at bytes 16 and 20.
    dimensions=$(od -An -tu1 -j16 -N8 "$icon" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
    [ "$dimensions" = "${size}x${size}" ] || fail "icon $size is $dimensions"
done

# The unpacked programs, away from the build tree and the sources.
ldd "$unpacked/usr/bin/numerella" "$unpacked/usr/bin/numerella-tool" | grep -q 'not found' && fail "unresolved library"
folder="$work/folder"
rm -rf "$folder"
mkdir -p "$folder"
cd "$folder"
"$unpacked/usr/bin/numerella-tool" store --cards 12 --seed 5 Data.prm >/dev/null || fail "tool: store"
"$unpacked/usr/bin/numerella-tool" cards --count 12 --series B --pdf cartelle.pdf 2>/dev/null || fail "tool: cards"
"$unpacked/usr/bin/numerella-tool" board --pdf tabellone.pdf 2>/dev/null || fail "tool: board"
[ "$(pdfinfo cartelle.pdf | awk '/^Pages:/ { print $2 }')" = 3 ] || fail "12 cards are not 3 pages"
fonts=$(pdffonts cartelle.pdf; pdffonts tabellone.pdf)
for font in Inter-Black Tahoma Cabin; do
    echo "$fonts" | grep -q "$font" || fail "font $font not embedded:
$fonts"
done

# The program starts in the folder with its store and keeps running until closed.
QT_QPA_PLATFORM=offscreen "$unpacked/usr/bin/numerella" >program.log 2>&1 &
program=$!
sleep 3
kill -0 "$program" 2>/dev/null || fail "numerella ended on its own: $(cat program.log)"
kill "$program"
wait "$program" 2>/dev/null || true
echo "package checked"
