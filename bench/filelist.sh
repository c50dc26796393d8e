#!/bin/bash
# Compares the file list's read of a folder of 100000 files with `ls -1` on
# the same folder. Usage: bench/filelist.sh BUILD_DIR [FILES] [FOLDER]
# Without FOLDER a temporary one is filled (names like "Titel 123 Interpret.mp3"
# and "Brief 123.txt") and removed afterwards.
set -euo pipefail

build=${1:?usage: filelist.sh BUILD_DIR [FILES] [FOLDER]}
files=${2:-100000}
folder=${3:-}
rounds=5
program="$build/bench/bench_filelist"
[ -x "$program" ] || { echo "build $program first" >&2; exit 2; }

if [ -z "$folder" ]; then
    folder=$(mktemp -d)
    trap 'rm -rf "$folder"' EXIT
    ( cd "$folder" && seq 1 "$files" | awk '{ if ($1 % 2) printf "Titel %d Interpret.mp3\n", $1; else printf "Brief %d.txt\n", $1 }' \
        | xargs -d '\n' touch )
fi

# Median wall time of `ls -1` in milliseconds (its output thrown away, as the
# program's list is never printed here either).
ls_times=()
for _ in $(seq "$rounds"); do
    start=$(date +%s%N)
    ls -1 "$folder" > /dev/null
    end=$(date +%s%N)
    ls_times+=($(( (end - start) / 1000 )))
done
ls_ms=$(printf '%s\n' "${ls_times[@]}" | sort -n | sed -n "$(( rounds / 2 + 1 ))p" | awk '{ printf "%.1f", $1 / 1000 }')

echo "folder $folder"
result=$("$program" "$folder" "$rounds")
echo "$result"
echo "ls_ms $ls_ms"
all_ms=$(echo "$result" | awk '/filelist_all_ms/ { print $2 }')
awk -v a="$all_ms" -v l="$ls_ms" 'BEGIN { printf "ratio_filelist_to_ls %.2f\n", a / l }'
