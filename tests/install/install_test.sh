#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a desktop finds there: the tree,
# the launcher, the metadata, the file type, and that the installed program starts.
#   install_test.sh <build directory> <source directory>
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
prefix=$work/usr
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for f in lib/lernkompass/lernkompass lib/lernkompass/Liesmich.htm bin/lernkompass \
         share/applications/org.example.lernkompass.desktop \
         share/metainfo/org.example.lernkompass.metainfo.xml \
         share/mime/packages/lernkompass.xml \
         share/icons/hicolor/scalable/apps/lernkompass.svg; do
    [[ -e $prefix/$f ]] || fail "$f is missing"
done
for size in 16 24 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x$size/apps/lernkompass.png
    # PNG signature, then the header chunk's width and height.
    [[ $(od -An -v -tx1 -N24 "$png" 2>/dev/null | tr -d ' \n') == \
       89504e470d0a1a0a0000000d49484452$(printf '%08x%08x' "$size" "$size") ]] ||
        fail "$png is not a $size x $size PNG"
done
# A relative link keeps working when the tree moves (DESTDIR, a package).
[[ $(readlink "$prefix/bin/lernkompass") == ../lib/lernkompass/lernkompass ]] ||
    fail "bin/lernkompass is not the relative link"
cmp -s "$source/resources/help/Liesmich.htm" "$prefix/lib/lernkompass/Liesmich.htm" ||
    fail "the help page differs from its source"

desktop-file-validate "$prefix/share/applications/org.example.lernkompass.desktop"
appstreamcli validate --no-net --pedantic \
    "$prefix/share/metainfo/org.example.lernkompass.metainfo.xml"
grep -qx 'Exec=lernkompass %f' "$prefix/share/applications/org.example.lernkompass.desktop" ||
    fail "the launcher does not hand over the file"

# The file type as a desktop sees it: .vok files map to the type the launcher opens.
update-mime-database "$prefix/share/mime" 2>/dev/null
grep -qx '50:application/x-lernkompass-vok:\*.vok' "$prefix/share/mime/globs2" ||
    fail ".vok is not registered"
grep -q '^MimeType=application/x-lernkompass-vok;$' \
    "$prefix/share/applications/org.example.lernkompass.desktop" ||
    fail "the launcher does not open the .vok type"

# Start the installed program through its link, as the launcher does, with a file to
# open; the start screen writes the settings file when it is shown.
mkdir -p "$work/home" "$work/config"
settings=$work/config/Kelp/Lernkompass.conf
HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/home/.local/share \
    QT_QPA_PLATFORM=offscreen LANG=de_DE.UTF-8 \
    "$prefix/bin/lernkompass" "$source/examples/englisch-grundwortschatz.vok" &
pid=$!
for _ in $(seq 100); do
    [[ -s $settings ]] && break
    kill -0 "$pid" 2>/dev/null || fail "the installed program ended early"
    sleep 0.1
done
[[ -s $settings ]] || fail "the installed program wrote no settings within 10 s"
grep -q '^Version=hex:' "$settings" || fail "the settings hold no version"
kill -0 "$pid" 2>/dev/null || fail "the installed program did not stay open"
echo "installed and started from $prefix"
