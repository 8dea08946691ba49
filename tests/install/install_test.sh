#!/usr/bin/env bash
# install_test.sh <build dir> <source dir>: installs into a fresh prefix and checks what a
# desktop finds there: the tree, launcher, metadata, file type, and that the program starts.
set -euo pipefail
build=$1 source=$2
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
prefix=$work/usr
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for f in lib/lernkompass/lernkompass lib/lernkompass/Liesmich.htm bin/lernkompass \
         share/applications/org.example.lernkompass.desktop \
         share/metainfo/org.example.lernkompass.metainfo.xml \
         share/mime/packages/lernkompass.xml \
         share/icons/hicolor/{scalable/apps/lernkompass.svg,{16x16,24x24,32x32}/apps/lernkompass.png} \
         share/icons/hicolor/{48x48,64x64,128x128,256x256}/apps/lernkompass.png; do
    [[ -e $prefix/$f ]] || fail "$f is missing"
done
# A relative link keeps working when the tree moves (DESTDIR, a package).
[[ $(readlink "$prefix/bin/lernkompass") == ../lib/lernkompass/lernkompass ]] ||
    fail "bin/lernkompass is not the relative link"

desktop-file-validate "$prefix/share/applications/org.example.lernkompass.desktop"
appstreamcli validate --no-net --pedantic \
    "$prefix/share/metainfo/org.example.lernkompass.metainfo.xml"

# The file type as a desktop reads it.
update-mime-database "$prefix/share/mime" 2>/dev/null
grep -qx '50:application/x-lernkompass-vok:\*.vok' "$prefix/share/mime/globs2" ||
    fail ".vok is not registered"

# Start the installed program through its link, as the launcher does, with a file to
# open; the start screen writes the settings file when it is shown.
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
