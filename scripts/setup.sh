#!/usr/bin/env bash
# Sets up and builds Lernkompass on a Debian-like system.
#   scripts/setup.sh run    install what is missing, build a release, start the program on
#                           the sample vocabulary file
#   scripts/setup.sh test   install what is missing, build everything with warnings as
#                           errors, run every test (offscreen, no display needed); then
#                           run them again under AddressSanitizer and UndefinedBehavior-
#                           Sanitizer (build-asan/) and fuzz every file reader for a
#                           bounded time with libFuzzer (build-fuzz/, clang)
set -euo pipefail

mode=${1:-}
if [[ $mode != run && $mode != test ]]; then
    echo "usage: $0 run|test" >&2
    exit 2
fi
cd "$(dirname "$0")/.."

packages=(qt6-base-dev libpulse-dev libespeak-ng-dev libzip-dev libsqlite3-dev ninja-build
          qt6-translations-l10n pkgconf cmake g++ fonts-dejavu-core fonts-urw-base35
          desktop-file-utils appstream shared-mime-info dpkg-dev
          clang libclang-rt-14-dev)

# The sound and speech tests play into a private sound server of their own; without
# pulseaudio they skip those rows. A desktop with PipeWire's service keeps it.
if [[ $mode == test ]] && ! dpkg-query -W -f='${Status}' pipewire-pulse 2>/dev/null | grep -q ' installed$'; then
    packages+=(pulseaudio)
fi

install_missing() {
    if ! command -v dpkg-query >/dev/null; then
        echo "No dpkg here: install Qt 6.4 Widgets, libzip, SQLite 3, PulseAudio's client library and eSpeak NG (Qt Multimedia off Linux), CMake and Ninja yourself." >&2
        return
    fi
    local missing=() p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q ' installed$' || missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    local sudo=()
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    "${sudo[@]}" apt-get update
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}"
}

install_missing
if [[ $mode == run ]]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DLK_WARNINGS_AS_ERRORS=OFF
    cmake --build build --target lernkompass
    exec build/lernkompass examples/englisch-grundwortschatz.vok
else
    cmake -S . -B build -G Ninja -DLK_WARNINGS_AS_ERRORS=ON
    cmake --build build
    ctest --test-dir build --output-on-failure
    # The Debian package builds and holds the installed tree.
    rm -f build/lernkompass_*.deb
    (cd build && cpack -G DEB >/dev/null)
    contents=$(dpkg-deb -c build/lernkompass_*.deb)
    for f in ./usr/bin/lernkompass ./usr/lib/lernkompass/lernkompass \
             ./usr/lib/lernkompass/Liesmich.htm \
             ./usr/share/applications/org.example.lernkompass.desktop \
             ./usr/share/metainfo/org.example.lernkompass.metainfo.xml \
             ./usr/share/mime/packages/lernkompass.xml \
             ./usr/share/icons/hicolor/scalable/apps/lernkompass.svg \
             ./usr/share/icons/hicolor/48x48/apps/lernkompass.png; do
        grep -q " $f\( ->\|$\)" <<<"$contents" || { echo "package lacks $f" >&2; exit 1; }
    done
    echo "package: $(ls build/lernkompass_*.deb)"
    # The tests again, halting at the first report of a sanitizer.
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLK_WARNINGS_AS_ERRORS=ON \
          -DLK_SANITIZE=ON
    cmake --build build-asan --target lk_tests
    ctest --test-dir build-asan --output-on-failure
    # Every reader of outside files fuzzed from its corpus for a bounded time.
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
          -DLK_WARNINGS_AS_ERRORS=ON -DLK_FUZZ=ON
    cmake --build build-fuzz --target lk_fuzz
    ctest --test-dir build-fuzz -L fuzz --output-on-failure --parallel 2
fi
