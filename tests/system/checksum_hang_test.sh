#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# A checksum list over a FUSE file system (blockfs.py reads-hang) where
# reading one file never answers: that file is named within 5 s, the list
# holds the others with their checksums and that one without, status 1.
# The mount is unmounted lazily at the end whatever happens, and by itself
# should this script be killed. Skipped (77) without /dev/fuse or fusepy.
#
# usage: checksum_hang_test.sh PATH_TO_lirabel
set -u
program=$(realpath "$1")
blockfs=$(cd "$(dirname "$0")" && pwd)/blockfs.py
[ -r /dev/fuse ] && [ -w /dev/fuse ] || { echo "SKIPPED: /dev/fuse is not open to $(id -un)"; exit 77; }
command -v fusermount3 >/dev/null || { echo "SKIPPED: fusermount3 is missing (package fuse3)"; exit 77; }
/usr/bin/python3 -c 'import fusepy' 2>/dev/null || { echo "SKIPPED: fusepy is missing (package python3-fusepy)"; exit 77; }
if [ -z "${LIRABEL_OWN_MOUNTS:-}" ] && unshare --mount --propagation private true 2>/dev/null; then
    exec env LIRABEL_OWN_MOUNTS=1 unshare --mount --propagation private bash "$0" "$@"
fi

export BLOCKFS_WATCH_PID=$$
work=$(mktemp -d /tmp/lirabel-pruefsumme.XXXXXX)
mount=$work/lesen
mkdir "$mount"
daemon= program_pid=
cleanup() {
    fusermount3 -uz "$mount" 2>/dev/null
    for pid in $daemon $program_pid; do kill -KILL "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
/usr/bin/python3 "$blockfs" reads-hang "$mount" >"$work/blockfs.log" 2>&1 &
daemon=$!
for _ in $(seq 100); do
    awk -v m="$mount" '$5 == m { found = 1 } END { exit !found }' /proc/self/mountinfo && break
    sleep 0.05
done
awk -v m="$mount" '$5 == m { found = 1 } END { exit !found }' /proc/self/mountinfo \
    || { cat "$work/blockfs.log"; echo "SKIPPED: no FUSE file system can be mounted here"; exit 77; }

# Through a pipe: its end must come within 5 s, while a thread still hangs.
mkfifo "$work/pipe"
cat "$work/pipe" >"$work/out" &
reader=$!
started=$(date +%s%3N)
"$program" --liste --format csv --spalten name,pruefsumme "$mount/langsam" >"$work/pipe" 2>"$work/err" &
program_pid=$!
for _ in $(seq 250); do kill -0 $reader 2>/dev/null || break; sleep 0.02; done
took=$(($(date +%s%3N) - started))
kill -0 $reader 2>/dev/null && took=never
for _ in $(seq 50); do kill -0 $program_pid 2>/dev/null || break; sleep 0.02; done
if [ -e "/proc/$program_pid" ] && [ "$(sed 's/.*) //' "/proc/$program_pid/stat" | cut -d' ' -f1)" = Z ]; then
    status=$(($(awk '{ print $NF }' "/proc/$program_pid/stat") >> 8))
else
    wait $program_pid
    status=$?
fi

zeros=$(head -c 4096 /dev/zero | sha256sum | cut -d' ' -f1)
expected=$'\xef\xbb\xbfName;Prüfsumme\r\nnotiz.txt;'$zeros$'\r\ntitel.mp3;\r'
if [ "$took" != never ] && [ "$status" = 1 ] && [ "$(cat "$work/out")" = "$expected" ] \
    && grep -q "Datei antwortet nicht: .*/langsam/titel.mp3" "$work/err"; then
    echo "PASSED: the file whose reads hang is named after ${took} ms, the list holds the other's checksum"
    exit 0
fi
echo "FAIL: ${took} ms, status $status, $(tr '\r\n' '  ' <"$work/out"), $(cat "$work/err")"
exit 1
