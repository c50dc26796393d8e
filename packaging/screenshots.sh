#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# Renews the pictures of the user guide from the built program:
#   docs/hauptfenster.png           the main window on a sample music folder
#   docs/druckeinstellungen.png     the print settings
#   docs/speichereinstellungen.png  the save settings
#
#   packaging/screenshots.sh [BUILD_DIR]     (default: build)
#
# Builds the helper lirabel_screenshots (packaging/screenshots.cpp), which shows the real
# windows on an X server of its own (Xvfb) and grabs each one. The sample folder is made
# afresh under ${TMPDIR:-/tmp}/lirabel-beispiel, so the pictures show the same folder
# every time. Installs Xvfb with apt-get when it is missing.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
docs=$root/docs

missing=()
for pkg in xvfb fonts-liberation; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target lirabel_screenshots -j2
helper=$(find "$build/packaging" -maxdepth 1 -type f -name lirabel_screenshots -perm -u+x | head -n 1)
[ -n "$helper" ] || { echo "lirabel_screenshots was not built" >&2; exit 1; }

# The sample folder. A hidden mark file tells that an existing folder is ours to replace.
base=${TMPDIR:-/tmp}/lirabel-beispiel
mark=$base/.lirabel-beispiel
if [ -e "$base" ] && [ ! -e "$mark" ]; then
    echo "$base exists and was not made by this script; move it away first" >&2
    exit 1
fi
. "$root/tools/xvfb.sh"
rm -rf "$base"
server=$(mktemp -d)
trap 'xvfb_stop; rm -rf "$base" "$server"' EXIT
sample=$base/Musik
mkdir -p "$sample/Hörbücher" "$sample/Konzerte" "$sample/Podcasts"
touch "$mark"
for name in "01 Morgenlied.mp3" "02 Am Bach.mp3" "03 Sommerregen.mp3" "04 Wanderschaft.mp3" \
    "05 Abendstille.mp3" "06 Nachtmusik.mp3" "07 Heimweg.mp3" "08 Regentanz.mp3" \
    "09 Herbstwind.mp3" "10 Ausklang.mp3" "Aufnahme 2.wav" "Aufnahme 10.wav" \
    "Cover.jpg" "Titelliste.txt"; do
    : >"$sample/$name"
done

mkdir -p "$docs"
xvfb_start "$server" -screen 0 1280x1024x24 || { echo "screenshots.sh: no X server to show the windows on" >&2; exit 1; }
DISPLAY=$xvfb_display QT_QPA_PLATFORM=xcb "$helper" "$sample" "$docs"
