#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# Mounts that stop answering, and mounts that come and go, with a real FUSE
# file system (blockfs.py through fusepy), mounted here and unmounted lazily
# at the end whatever happens. Checks:
#   - the real program's window appears under Xvfb as fast with a mount whose
#     every call hangs as without it;
#   - choosing that drive brings "Laufwerk nicht bereit !" within 3 s, opening
#     a folder that hangs "Verzeichnis nicht lesbar !", lists kept (fusemounts);
#   - a folder opened while another is pending is the one listed, a link into
#     a mount that hangs is left out, a re-read that misses the deadline says
#     so and a save then writes nothing (fusemounts pending);
#   - the real save-file dialog over a folder that holds a mount that hangs
#     appears, saves and brings the main window back (fusemounts save-beside);
#   - closing ends the program at once while a thread hangs on the mount;
#   - `--liste` through a pipe ends while a folder, a tag read or a file asked for its size (by two threads) hangs, names
#     it, lists the rest and ends with status 1; a folder with a link into a
#     mount that hangs lists as the window saves it; links into a mount that
#     hangs, read again and again, cost no new threads (fusemounts links);
#   - a file system mounted and unmounted while the program runs appears in
#     and leaves the drive list.
# Skipped (exit 77) where /dev/fuse, fuse3, fusepy or the X tools are missing,
# or where no FUSE file system can be mounted.
#
# usage: fuse_mounts_test.sh PATH_TO_fusemounts PATH_TO_lirabel
set -u
readonly SKIP=77
here=$(cd "$(dirname "$0")" && pwd)
harness=$(realpath "$1")
program=$(realpath "$2")
blockfs=$here/blockfs.py

skip() {
    echo "SKIPPED: $*"
    exit $SKIP
}
. "$(dirname "$0")/checks.sh"

[ -e /dev/fuse ] || skip "/dev/fuse is missing"
[ -r /dev/fuse ] && [ -w /dev/fuse ] || skip "/dev/fuse is not open to $(id -un)"
command -v fusermount3 >/dev/null || skip "fusermount3 is missing (package fuse3)"
/usr/bin/python3 -c 'import fusepy' 2>/dev/null || skip "fusepy is missing (package python3-fusepy)"
for tool in Xvfb xwininfo xprop; do
    command -v $tool >/dev/null || skip "$tool is missing"
done

# In a mount namespace of its own where one can be made: nothing else on this
# machine then meets the mount that hangs.
if [ -z "${LIRABEL_OWN_MOUNTS:-}" ] && unshare --mount --propagation private true 2>/dev/null; then
    exec env LIRABEL_OWN_MOUNTS=1 unshare --mount --propagation private bash "$0" "$@"
fi

# Should this script be killed before its clean-up, the file systems unmount themselves.
export BLOCKFS_WATCH_PID=$$
work=$(mktemp -d /tmp/lirabel-fuse.XXXXXX)
mkdir "$work/run"
mkdir -m 700 "$work/xdg"
export XDG_RUNTIME_DIR=$work/xdg
daemons=()
mounts=()
programs=()
xvfb_pid=
cleanup() {
    # Lazily, as a mount that hangs cannot be unmounted otherwise; then the
    # file systems go, which lets every call still waiting on them return.
    for mount in "${mounts[@]}"; do
        fusermount3 -uz "$mount" 2>/dev/null
    done
    [ -s "$work/neu.pid" ] && daemons+=("$(cat "$work/neu.pid")")
    for pid in "${daemons[@]}" "${programs[@]}"; do
        kill -KILL "$pid" 2>/dev/null
    done
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

now_ms() { date +%s%3N; }
is_mounted() { awk -v m="$1" '$5 == m { found = 1 } END { exit !found }' /proc/self/mountinfo; }
# A process has ended when it is gone, or when only threads stuck on a mount
# keep it from being reaped (its main thread a zombie).
ended() { [ ! -e "/proc/$1" ] || [ "$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1)" = Z ]; }

mount_blockfs() { # MODE MOUNT_POINT
    mkdir -p "$2"
    local log=$work/log${2//\//_}
    /usr/bin/python3 "$blockfs" "$1" "$2" >"$log" 2>&1 &
    daemons+=($!)
    mounts+=("$2")
    for _ in $(seq 100); do
        is_mounted "$2" && return 0
        kill -0 "${daemons[-1]}" 2>/dev/null || break
        sleep 0.05
    done
    cat "$log"
    return 1
}

# --- the real program's window, without and with a mount that hangs ---------------------
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -n "$(head -1 "$work/display" 2>/dev/null)" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
done
display=:$(head -1 "$work/display" 2>/dev/null)
if [ "$display" = : ] || ! DISPLAY=$display xwininfo -root >/dev/null 2>&1; then
    cat "$work/xvfb.log"
    echo "FAIL: Xvfb did not come up (no display number within 10 s)"
    exit 1
fi

# Sets window_ms to the time from start to the program's window on the screen, or empty.
window_ms=
time_to_window() {
    local start pid id
    window_ms=
    start=$(now_ms)
    (cd "$work/run" && DISPLAY=$display QT_QPA_PLATFORM=xcb exec "$program") >>"$work/program.log" 2>&1 &
    pid=$!
    programs+=($pid)
    for _ in $(seq 300); do
        for id in $(DISPLAY=$display xwininfo -root -children 2>/dev/null | awk '$1 ~ /^0x/ { print $1 }'); do
            DISPLAY=$display xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -q "= $pid\$" || continue
            DISPLAY=$display xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
            window_ms=$(($(now_ms) - start))
            break 2
        done
        sleep 0.02
    done
    kill -TERM "$pid" 2>/dev/null
}
fastest_window() { # the fastest of two starts
    local best=
    for _ in 1 2; do
        time_to_window
        [ -n "$window_ms" ] && { [ -z "$best" ] || [ "$window_ms" -lt "$best" ]; } && best=$window_ms
    done
    window_ms=$best
}

time_to_window # the first start fills the caches
fastest_window
without=$window_ms
mount_blockfs hangs "$work/tot" || skip "no FUSE file system can be mounted here"
mount_blockfs hangs-below "$work/halb" || skip "no FUSE file system can be mounted here"
fastest_window
with=$window_ms
echo "time to the window: ${without:-none} ms without a mount that hangs, ${with:-none} ms with one"
if [ -z "$without" ] || [ -z "$with" ]; then
    fail "the window did not appear within 6 s"
    tail -20 "$work/program.log"
elif [ "$with" -gt $((without + 1000)) ]; then
    fail "with a mount that hangs the window appears ${with} ms after the start, ${without} ms without"
else
    ok "the window appears as fast with a mount that hangs"
fi

# --- the main window over the mounts that hang --------------------------------------------
# Runs fusemounts and waits for its result line: the process itself may stay
# until the file system lets its stuck thread go.
run_harness() { # MODE ARGUMENTS...
    local log=$work/$1.out pid
    (cd "$work/run" && QT_QPA_PLATFORM=offscreen exec "$harness" "$@") >"$log" 2>&1 &
    pid=$!
    programs+=($pid)
    for _ in $(seq 600); do
        grep -q '^result: ' "$log" && break
        ended "$pid" && break
        sleep 0.05
    done
    grep -E '^(ok|FAIL): ' "$log"
    grep -q '^result: pass' "$log" || fail "fusemounts $1 did not pass: $(grep -v -E '^(ok|FAIL): ' "$log" | tail -5)"
}
run_harness drive "$work/tot"
run_harness folder "$work/halb" haengt "$work/liste.txt"

# A folder with a link into the mount that hangs; a mount whose listing is
# slow; a folder holding a mount that hangs, where the save-file dialog opens.
mkdir "$work/zwei" "$work/dialog"
touch "$work/zwei/a.mp3" "$work/zwei/b.mp3"
ln -s "$work/tot/liesmich.txt" "$work/zwei/tot.mp3"
BLOCKFS_SLOWER=$work/langsamer mount_blockfs slow "$work/langsam" || fail "the slow file system did not mount"
mount_blockfs hangs "$work/dialog/tot" || fail "the file system beside the dialog did not mount"
run_harness pending "$work/langsam" "$work/zwei" "$work/langsamer" "$work/nie.txt"
# A documents folder of its own, for the dialog that follows one stuck beside
# the mount; away from the mounts that hang, as the dialog reads the folders
# above its own too.
home=$(mktemp -d /tmp/lirabel-home.XXXXXX)
mkdir -p "$home/Documents" && touch "$home/Documents/brief.txt"
HOME=$home run_harness save-beside "$work/dialog" "$work/zwei" "$work/dialog/liste.txt"
rm -rf "$home"

# Lists read through a pipe while a call hangs: the pipe must reach its end
# within 5 s. Sets out, err, took and status; the status is read from the
# kernel where a thread that hangs keeps the process from being reaped.
list_through_pipe() { # ARGUMENTS...
    local reader program_pid
    out=$work/pipe.out err=$work/pipe.err
    rm -f "$work/pipe" && mkfifo "$work/pipe"
    cat "$work/pipe" >"$out" &
    reader=$!
    programs+=($reader)
    local started=$(now_ms)
    "$program" --liste "$@" >"$work/pipe" 2>"$err" &
    program_pid=$!
    programs+=($program_pid)
    for _ in $(seq 250); do
        ended "$reader" && break
        sleep 0.02
    done
    took=$(($(now_ms) - started))
    ended "$reader" || took=never
    for _ in $(seq 50); do
        ended "$program_pid" && break
        sleep 0.02
    done
    if [ -e "/proc/$program_pid" ]; then
        status=$(($(awk '{ print $NF }' "/proc/$program_pid/stat" 2>/dev/null || echo 0) >> 8))
    else
        wait "$program_pid"
        status=$?
    fi
}
check_list() { # WHAT EXPECTED_STATUS EXPECTED_OUTPUT NAMED_ON_STDERR (empty: nothing said)
    local said=1
    if [ -n "$4" ]; then grep -q -- "$4" "$err" || said=0; else [ ! -s "$err" ] || said=0; fi
    if [ "$took" != never ] && [ "$status" = "$2" ] && [ "$(cat "$out")" = "$3" ] && [ "$said" = 1 ]; then
        ok "$1: the pipe ends after ${took} ms, status $2"
    else
        fail "$1: ${took} ms, status $status, $(tr '\r\n' '  ' <"$out"), $(cat "$err")"
    fi
}
# A tree with a subfolder that is a mount whose every call hangs.
mkdir -p "$work/baum/b"
touch "$work/baum/liesmich.txt" "$work/baum/b/x.txt"
mount_blockfs hangs "$work/baum/tot" || fail "the tree's file system did not mount"
list_through_pipe --unterordner "$work/baum"
check_list "a tree with a folder that does not answer" 1 $'liesmich.txt\n\nb/\nx.txt' \
    "Verzeichnis antwortet nicht: .*/baum/tot"
# Staying on one file system, the mount that hangs is not even asked.
list_through_pipe --ein-dateisystem "$work/baum"
check_list "a tree on one file system beside a mount that hangs" 0 $'liesmich.txt\n\nb/\nx.txt' ""
mount_blockfs reads-hang "$work/lesen" || fail "the file system whose reads hang did not mount"
list_through_pipe --format csv --spalten name,titel "$work/lesen/langsam"
check_list "tags of a file whose reads hang" 1 $'\xef\xbb\xbfName;Titel\r\nnotiz.txt;\r\ntitel.mp3;\r' \
    "Datei antwortet nicht: .*/titel.mp3"
# Sizes asked by two threads, one of them stuck on a file: the list still ends.
mount_blockfs stats-hang "$work/stat" || fail "the file system whose files hang did not mount"
list_through_pipe --format csv "$work/stat/viele"
check_list "sizes of a large folder whose files hang" 1 "" "Verzeichnis antwortet nicht: .*/stat/viele"

# The window left the link into the mount that hangs out (fusemounts pending);
# the list of the same folder, with the window's line ends, is byte for byte
# the window's save.
list_through_pipe --zeilenende crlf "$work/zwei"
check_list "a folder with a link into a mount that hangs, as the window saves it" 0 $'a.mp3\r\nb.mp3\r' ""

# Ten links into the mount that hangs, the folder read again and again: the
# threads stay few.
mkdir "$work/links"
for i in $(seq 10); do ln -s "$work/tot/liesmich.txt" "$work/links/tot$i.txt"; done
run_harness links "$work/links"

# Closing while a thread hangs: from "closing" to the end of the program.
close_while_hung() { # MODE
    local log=$work/$1.out pid closed=
    (cd "$work/run" && QT_QPA_PLATFORM=offscreen exec "$harness" "$1" "$work/tot") >"$log" 2>&1 &
    pid=$!
    programs+=($pid)
    for _ in $(seq 400); do
        [ -z "$closed" ] && grep -q '^closing$' "$log" && closed=$(now_ms)
        [ -n "$closed" ] && ended "$pid" && break
        sleep 0.01
    done
    if grep -q '^FAIL' "$log"; then
        fail "$1: $(grep '^FAIL' "$log")"
    elif [ -z "$closed" ]; then
        fail "$1: the window was never closed: $(tail -3 "$log")"
    elif ! ended "$pid"; then
        fail "$1: the program still runs 4 s after the window was closed"
    else
        local took=$(($(now_ms) - closed))
        if [ "$took" -lt 1000 ]; then
            ok "$1: the program ended ${took} ms after its window was closed"
        else
            fail "$1: the program took ${took} ms to end after its window was closed"
        fi
    fi
}
close_while_hung close-waiting
close_while_hung close-after

# --- a file system mounted and unmounted while the program runs --------------------------
mounts+=("$work/neu")
mkdir -p "$work/neu" # listed in the folder list before it is mounted
run_harness follow "$work/neu" \
    "mkdir -p '$work/neu' && { /usr/bin/python3 '$blockfs' answers '$work/neu' >'$work/neu.log' 2>&1 & echo \$! >'$work/neu.pid'; }" \
    "fusermount3 -u '$work/neu'"

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "PASSED"
