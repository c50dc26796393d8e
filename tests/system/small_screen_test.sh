#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# The main window on a screen too small for it: Qt scaled by 2 on a
# 1280x1024 X server (Xvfb) under a window manager (openbox). The window,
# its frame included, lies inside the screen, and the window is smaller than
# drawn; at the scale factor 1 it keeps its drawn size. Skipped (exit 77)
# where Xvfb, openbox or xwininfo are missing.
#
# usage: small_screen_test.sh PATH_TO_lirabel
set -u
readonly SKIP=77
program=$(realpath "$1")
here=$(cd "$(dirname "$0")/../.." && pwd)
for tool in Xvfb openbox xwininfo xprop; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit $SKIP; }
done
work=$(mktemp -d)
wm_pid=
window_pid=
# shellcheck source=../../tools/xvfb.sh
. "$here/tools/xvfb.sh"
finish() {
    [ -n "$window_pid" ] && kill "$window_pid" 2>/dev/null
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    xvfb_stop
    rm -rf "$work"
}
trap finish EXIT
xvfb_start "$work" -screen 0 1280x1024x24 || exit 1
export DISPLAY=$xvfb_display
openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done

failures=0
# Starts the window at a scale factor and prints its frame: left top right bottom.
frame_at() {
    mkdir -p "$work/home"
    HOME=$work/home QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$1 "$program" "$here" >"$work/window.log" 2>&1 &
    window_pid=$!
    local id="" extents="" info=""
    for _ in $(seq 100); do
        info=$(xwininfo -name Lirabel 2>/dev/null) && id=$(sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p' <<<"$info")
        [ -n "$id" ] && extents=$(xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p' | tr -d ' ')
        [ -n "$extents" ] && break
        sleep 0.1
    done
    # Once framed, the window is placed within a moment; then it stays.
    sleep 1
    info=$(xwininfo -id "$id")
    kill "$window_pid"
    wait "$window_pid" 2>/dev/null
    window_pid=
    [ -n "$extents" ] || { echo "no framed window at scale $1: $(cat "$work/window.log")"; return 1; }
    local x y w h left right top bottom
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/.*Width: *//p' <<<"$info")
    h=$(sed -n 's/.*Height: *//p' <<<"$info")
    IFS=, read -r left right top bottom <<<"$extents"
    echo "$((x - left)) $((y - top)) $((x + w + right)) $((y + h + bottom)) $w $h"
}

read -r l t r b w h < <(frame_at 2) || exit 1
echo "scale 2: frame $l,$t to $r,$b, window ${w}x$h"
if [ "$l" -lt 0 ] || [ "$t" -lt 0 ] || [ "$r" -gt 1280 ] || [ "$b" -gt 1024 ]; then
    echo "FAIL: at the scale factor 2 the frame $l,$t to $r,$b is not inside the screen 1280x1024"
    failures=$((failures + 1))
fi
[ "$h" -lt 1118 ] || { echo "FAIL: at the scale factor 2 the window is not smaller than drawn (${w}x$h)"; failures=$((failures + 1)); }

read -r l t r b w h < <(frame_at 1) || exit 1
echo "scale 1: frame $l,$t to $r,$b, window ${w}x$h"
[ "$w" -eq 609 ] || { echo "FAIL: at the scale factor 1 the window is $w wide, not 609 as drawn"; failures=$((failures + 1)); }
exit $((failures > 0))
