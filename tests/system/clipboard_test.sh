#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# `lirabel --liste --zwischenablage`, read back as a desktop's programs read
# the clipboard, after the call has returned (its output read to the end, so
# nothing of it may keep the caller's pipes):
#   - without a desktop: "Keine Zwischenablage !", exit 1;
#   - X11 (Xvfb): text as plain text; csv as text/plain and text/csv without
#     the byte-order mark and as an HTML table; the program in the background
#     ends once another program takes the clipboard;
#   - Wayland (a headless sway, as wayland_test.sh starts it): wl-paste gives
#     the text.
# Each part is skipped (exit 77 where all are) where its programs are missing.
#
# usage: clipboard_test.sh PATH_TO_lirabel
set -u
readonly SKIP=77
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
. "$(dirname "$0")/checks.sh"
ran=0

work=$(mktemp -d /tmp/lirabel-clipboard.XXXXXX)
chmod 755 "$work"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill -KILL "$pid" 2>/dev/null
    done
    [ -n "${xvfb_pid:-}" ] && xvfb_stop
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/A/sub" "$work/B"
printf 1 >"$work/A/a 1.txt"
printf 22 >"$work/A/sub/<s>.txt"
printf 333 >"$work/B/b;2.txt"
chmod -R a+rX "$work/A" "$work/B"
# Each ends in ".", so that the comparisons see the last line's end.
text=$'A/\na 1.txt\n\nA/sub/\n<s>.txt\n\nB/\nb;2.txt\n.'
csv=$'Name;Ordner;Gr\xc3\xb6\xc3\x9fe\r\na 1.txt;A;1\r\n<s>.txt;A/sub;2\r\n"b;2.txt";B;3\r\n.'
table=$'Name|Ordner|Größe\na 1.txt|A|1\n&lt;s&gt;.txt|A/sub|2\nb;2.txt|B|3'
# The rows of an HTML table, each its cells joined by "|", as escaped.
rows() { sed -e 's#</t[dh]><t[dh]>#|#g' -e 's/<[^>]*>//g' | sed '/^$/d'; }
same() { # WHAT EXPECTED FOUND
    if [ "$2" = "$3" ]; then ok "$1"; else fail "$1: expected $(printf %q "$2"), found $(printf %q "$3")"; fi
}

# --- no desktop ----------------------------------------------------------------------------
said=$(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$program" --liste --zwischenablage A 2>&1)
status=$?
same "without a desktop: the message and exit 1" "lirabel: Keine Zwischenablage !|1" "$said|$status"

# --- X11 -----------------------------------------------------------------------------------
. "$here/../../tools/xvfb.sh"
if ! command -v xclip >/dev/null; then
    echo "SKIPPED: X11: xclip is missing"
elif ! xvfb_start "$work"; then
    echo "SKIPPED: X11: Xvfb did not start"
else
    ran=1
    x11=(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$xvfb_display")
    paste() {
        "${x11[@]}" timeout 10 xclip -o -selection clipboard -t "$1"
        echo .
    }
    said=$(cd "$work" && "${x11[@]}" timeout 20 "$program" --liste --zwischenablage --unterordner A B A/sub 2>&1)
    status=$?
    same "X11: the call returns at once, with its note and status" \
        "lirabel: Übersprungen: A/sub liegt im schon gelisteten Ordner A.|0" "$said|$status"
    same "X11: the text list as text/plain" "$text" "$(paste text/plain)"

    said=$(cd "$work" && "${x11[@]}" timeout 20 "$program" --liste --zwischenablage --format csv \
        --spalten name,ordner,groesse --unterordner A B 2>&1)
    status=$?
    same "X11: csv, the call returns" "|0" "$said|$status"
    same "X11: csv as text/plain, without byte-order mark" "$csv" "$(paste text/plain)"
    same "X11: csv as text/csv" "$csv" "$(paste text/csv)"
    same "X11: csv as an HTML table" "$table" "$(paste text/html | sed '$d' | rows)"

    holder=$(pgrep -n -f -- "--zwischenablage --format csv")
    if [ -z "$holder" ] || ! alive "$holder"; then
        fail "X11: no program holds the clipboard"
    else
        # xclip stays as the owner and says so when the server ends.
        echo anders | "${x11[@]}" timeout 10 xclip -selection clipboard 2>/dev/null
        for _ in $(seq 50); do
            alive "$holder" || break
            sleep 0.1
        done
        alive "$holder" && fail "X11: the holder goes on after another program took the clipboard" \
            || ok "X11: the holder ends once another program takes the clipboard"
    fi
    xvfb_stop
fi

# --- Wayland -------------------------------------------------------------------------------
wayland() {
    local tool
    for tool in sway swaymsg wl-copy wl-paste; do
        command -v $tool >/dev/null || { echo "SKIPPED: Wayland: $tool is missing"; return; }
    done
    # Sway refuses to run as root: as root, sway and the program run as nobody.
    local as_user=() owner
    owner=$(id -u):$(id -g)
    if [ "$(id -u)" -eq 0 ]; then
        as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
        owner=nobody:nogroup
    fi
    "${as_user[@]}" test -x "$program" || { echo "SKIPPED: Wayland: $program cannot be run as $owner"; return; }
    mkdir -m 700 "$work/xdg" "$work/home"
    chown "$owner" "$work/xdg" "$work/home"
    local base=("${as_user[@]}" env -i -C "$work" PATH=/usr/bin:/bin HOME="$work/home" LANG=C.UTF-8
        XDG_RUNTIME_DIR="$work/xdg")
    printf 'xwayland disable\n' >"$work/sway.conf"
    "${base[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
    local sway_pid=$! session=() display ipc
    pids+=($sway_pid)
    for _ in $(seq 100); do
        for display in "$work"/xdg/wayland-*[0-9]; do
            for ipc in "$work"/xdg/sway-ipc.*.sock; do
                [ -S "$display" ] && [ -S "$ipc" ] || continue
                "${base[@]}" SWAYSOCK="$ipc" swaymsg -t get_version >/dev/null 2>&1 || continue
                session=("${base[@]}" WAYLAND_DISPLAY="$(basename "$display")")
                break 3
            done
        done
        alive "$sway_pid" || break
        sleep 0.1
    done
    if [ ${#session[@]} -eq 0 ]; then
        tail -n 15 "$work/sway.log"
        echo "SKIPPED: Wayland: sway did not start here"
        return
    fi
    ran=1
    said=$("${session[@]}" timeout 20 "$program" --liste --zwischenablage --unterordner A B 2>&1)
    status=$?
    same "Wayland: the call returns" "|0" "$said|$status"
    same "Wayland: wl-paste gives the text list" "$text" "$("${session[@]}" timeout 10 wl-paste --no-newline; echo .)"
    kill -TERM "$sway_pid"
}
wayland

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
[ "$ran" = 1 ] || exit $SKIP
echo "PASSED"
