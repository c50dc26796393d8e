#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# Runs every benchmark of a build folder (`make bench` builds it and calls
# this), prints the table and writes it, with the machine it ran on, to
# bench/RESULTS.md.
#
#   bench/run.sh BUILD_DIR
#
# The folders of test files are made inside the build folder, on the same
# drive as the program, so the program started in one of them shows it, and
# removed at the end. BENCH_ROUNDS changes the number of counted rounds,
# BENCH_LIST_ROUNDS those of the lists (31: short runs of a program with
# three threads on a shared machine scatter most), BENCH_PDF_ROUNDS those of
# the PDF list (11).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: bench/run.sh BUILD_DIR}" && pwd)
rounds=${BENCH_ROUNDS:-7}
results="$here/bench/RESULTS.md"
data="$build/bench-data"
work="$build/bench-work"
bin="$build/bench"
for program in bench_filelist bench_save bench_printer bench_startup startup_lirabel startup_minimal \
    startup_minimal_text bench_lists bench_walk bench_checksums bench_pdflist; do
    [ -x "$bin/$program" ] || { echo "run.sh: $bin/$program is missing; run make bench" >&2; exit 2; }
done

. "$here/tools/xvfb.sh"
cleanup() {
    xvfb_stop
    rm -rf "$data" "$work"
}
trap cleanup EXIT
rm -rf "$data" "$work"
mkdir -p "$data" "$work"

# FOLDER FILES: names like "Titel 7 Interpret.mp3" and "Brief 8.txt", half each.
make_folder() {
    mkdir -p "$1"
    ( cd "$1" && seq 1 "$2" \
        | awk '{ if ($1 % 2) printf "Titel %d Interpret.mp3\n", $1; else printf "Brief %d.txt\n", $1 }' \
        | xargs -d '\n' touch )
}
echo "Making the test folders in $data ..."
for n in 10000 100000 300000; do make_folder "$data/files-$n" "$n"; done
make_folder "$data/files-9999" 9999
make_folder "$data/small" 20
make_folder "$data/files-1000000" 1000000
# The lists' tree: 200000 files in 2000 folders of 100, three levels deep.
/usr/bin/python3 - "$data/tree" <<'PY'
import os, sys
for a in range(20):
    for b in range(10):
        for c in range(10):
            folder = os.path.join(sys.argv[1], f'Sammlung {a}', f'Jahr {b}', f'Album {c}')
            os.makedirs(folder)
            for n in range(100):
                open(os.path.join(folder, f'Titel {n} Interpret.mp3' if n % 2 else f'Brief {n}.txt'), 'w').close()
PY
# The html page's tree: 1000000 files in 10000 folders of 100, three levels deep, names
# of 25 characters ("Titel 12345 Interpret.mp3") and sizes of seven digits (sparse files).
/usr/bin/python3 - "$data/tree-1000000" <<'PY'
import os, sys
n = 0
for a in range(10):
    for b in range(10):
        for c in range(100):
            folder = os.path.join(sys.argv[1], f'Sammlung {a}', f'Jahr {b}', f'Album {c}')
            os.makedirs(folder)
            for k in range(100):
                with open(os.path.join(folder, f'Titel {n * 7919 % 100000:05d} Interpret.mp3'), 'wb') as file:
                    file.truncate(n * 2654435761 % 9000000 + 1000000)
                n += 1
PY
# The tree of millions: 1000000 files in 10000 folders of 100, two levels deep.
/usr/bin/python3 - "$data/million" <<'PY'
import os, sys
for a in range(100):
    for b in range(100):
        folder = os.path.join(sys.argv[1], f'Archiv {a}', f'Band {b}')
        os.makedirs(folder)
        for n in range(100):
            open(os.path.join(folder, f'Seite {n}.txt'), 'w').close()
PY
# Checksums: 1000 files of 1 MiB, and one sparse file of 2 GiB.
mkdir -p "$data/mib" "$data/big"
for n in $(seq 1000); do head -c 1048576 /dev/urandom >"$data/mib/Datei $n.bin"; done
truncate -s 2G "$data/big/gross.bin"
# The PDF list's tree: 100000 files in 1000 folders of 100, and 1000 files for its memory floor.
/usr/bin/python3 - "$data/pdftree" <<'PY'
import os, sys
for a in range(10):
    for b in range(100):
        folder = os.path.join(sys.argv[1], f'Sammlung {a}', f'Album {b}')
        os.makedirs(folder)
        for n in range(100):
            with open(os.path.join(folder, f'Titel {n} Interpret.mp3' if n % 2 else f'Brief {n}.txt'), 'w') as f:
                f.write('x' * (n * 37))
PY
make_folder "$data/pdfsmall" 1000
# 1000 MP3 files of three seconds, each with its own artist and title.
head -c $((3 * 44100 * 2)) /dev/zero >"$work/silence.raw"
lame --silent -r -s 44.1 -m m --bitwidth 16 --signed --little-endian "$work/silence.raw" "$work/silence.mp3"
/usr/bin/python3 - "$work/silence.mp3" "$data/music" <<'PY'
import os, shutil, sys
from mutagen.easyid3 import EasyID3
os.makedirs(sys.argv[2])
for n in range(1000):
    path = os.path.join(sys.argv[2], f'Titel {n}.mp3')
    shutil.copyfile(sys.argv[1], path)
    tags = EasyID3()
    tags['artist'] = f'Interpret {n % 37}'
    tags['title'] = f'Titel {n} – Über den Wolken'
    tags.save(path)
PY

# The program sorts in German; ls -1 gets the same locale. Where it is not
# installed, it is compiled into the build folder (package locales).
locale_name=de_DE.UTF-8
if [ "$(LC_ALL=$locale_name locale charmap 2>/dev/null)" != UTF-8 ]; then
    mkdir -p "$build/locale"
    [ -d "$build/locale/$locale_name" ] || localedef -i de_DE -f UTF-8 "$build/locale/$locale_name"
    export LOCPATH="$build/locale"
fi
[ "$(LC_ALL=$locale_name locale charmap 2>/dev/null)" = UTF-8 ] || { echo "run.sh: no locale $locale_name" >&2; exit 1; }
export LC_ALL=$locale_name

# Start-up is measured on a real X display: Xvfb, no window manager.
xvfb_start "$work" -screen 0 1280x1024x24 || { echo "run.sh: no X server for the start-up benchmark" >&2; exit 1; }
display=$xvfb_display

out="$work/out.txt"
: > "$out"
run() {
    echo "+ $*" >&2
    "$@" | tee -a "$out"
}
export QT_QPA_PLATFORM=offscreen
run "$bin/bench_filelist" "$rounds" "$data/files-10000" "$data/files-100000" "$data/files-300000"
run "$bin/bench_save" "$((rounds + 4))" "$data/files-9999" "$work"
run "$bin/bench_printer" "$rounds" "$data/files-9999" "$work"
list_rounds=${BENCH_LIST_ROUNDS:-31}
run "$bin/bench_lists" "$list_rounds" "$build/app/lirabel" "$data/files-100000" "$data/tree" \
    "$data/tree/Sammlung 0/Jahr 0/Album 0" "$data/music" "$here/bench/readtags.py" \
    "$data/million" "$data/million/Archiv 0/Band 0"
run "$bin/bench_checksums" 11 "$build/app/lirabel" "$data/mib" "$data/big" "$data/tree" "$work"
run /usr/bin/python3 "$here/bench/html_page.py" "$build/app/lirabel" "$data/tree-1000000" "$data/tree" "$work" 5
run "$bin/bench_walk" "${BENCH_WALK_ROUNDS:-15}" "$build/app/lirabel" "$data/files-100000" "$data/tree"
# The system calls of the tree with sizes and dates, counted (strace -c), not timed.
syscalls() { # NAME COMMAND...
    local name=$1
    shift
    strace -f -c -o "$work/strace.txt" "$@" >/dev/null 2>&1 || return 0
    NAME=$name awk '$4 ~ /^[0-9]+$/ && $NF != "total" && $4 >= 1000 { calls = calls sep $NF " " $4; sep = ", " }
        $NF == "total" { total = $4 }
        END { printf "- System calls of %s on the tree with sizes and dates: %d, %.3f a file (%s).\n",
              ENVIRON["NAME"], total, total / 200000, calls }' "$work/strace.txt" | tee -a "$out"
}
syscalls "\`--unterordner --format csv\`" "$build/app/lirabel" --liste --unterordner --format csv "$data/tree"
syscalls "\`bfs -type f -printf '%P;%s;%T@\\n'\`" bfs "$data/tree" -type f -printf '%P;%s;%T@\n'
# The same rows as a CSV for the references, written before and not timed.
"$build/app/lirabel" --liste --unterordner --format csv --spalten name,groesse,datum -o "$work/pdftree.csv" \
    "$data/pdftree"
run env -u DISPLAY -u WAYLAND_DISPLAY "$bin/bench_pdflist" "${BENCH_PDF_ROUNDS:-11}" "$build/app/lirabel" \
    "$data/pdftree" "$work/pdftree.csv" "$data/pdfsmall" "$work"
run env DISPLAY="$display" QT_QPA_PLATFORM=xcb "$bin/bench_startup" "$((rounds + 4))" \
    "$bin/startup_lirabel" "$bin/startup_minimal" \
    "$bin/startup_minimal_text" \
    "$data/small" "$data/files-100000" "$work" "$data/files-1000000"

cpu=$(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
memory=$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
os=$(. /etc/os-release && echo "$PRETTY_NAME")
qt=$(qtpaths6 --qt-version 2>/dev/null || dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo unknown)
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")
compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
commit=$(git -C "$here" rev-parse --short HEAD 2>/dev/null || echo unknown)

{
    echo "# Benchmark results"
    echo
    echo "Written by \`make bench\` (bench/run.sh) on $(date -u '+%Y-%m-%d %H:%M UTC'), at commit $commit."
    echo "Each figure is the median of the counted rounds ($rounds, start-up and save $((rounds + 4)), lists $list_rounds);"
    echo "the program and its reference take turns on the same data in the same run, after one"
    echo "round of each that is not counted, so the ratios hold on a busy machine."
    echo
    echo "| Benchmark | Lirabel | Reference | Ratio | Goal | Met |"
    echo "| --- | --- | --- | --- | --- | --- |"
    grep '^|' "$out"
    echo
    grep '^- ' "$out" || true
    echo
    echo "## Machine"
    echo
    echo "- CPU: $cpu, $(nproc) cores"
    echo "- Memory: $memory"
    echo "- OS: $os, kernel $(uname -r)"
    echo "- Qt: $qt; build: $build_type, $("$compiler" --version | head -n1)"
    echo "- References: $(ls --version | head -n1), $(enscript --version | head -n1), locale $LC_ALL"
    echo
    echo "## How the figures are taken"
    echo
    echo "- Folder to file list: a new file list reads the folder (one scan, the pattern \`*.*\`,"
    echo "  natural order, the model), timed inside the process; \`ls -1 FOLDER\` is timed as a"
    echo "  whole process with its output to /dev/null. Names are \"Titel N Interpret.mp3\" and"
    echo "  \"Brief N.txt\", half each. Growth: the time per file in the largest folder over that in"
    echo "  the smallest, for both; the goal compares the program's growth with that of \`ls -1\`,"
    echo "  which sorts as well."
    echo "- Save run: the save settings dialog with every option checked (blank line after every"
    echo "  5th), \"&Weiter\" clicked, the file name given by the stand-in of the save-file dialog,"
    echo "  timed until the file is in place; \`ls -1 FOLDER > file\` as a whole process."
    echo "- Print: the file list's 9999 names through the printer service (the program's QtPrinter)"
    echo "  in Times New Roman 6 points to a PDF file on A4; \`enscript -B -M A4 -f Times-Roman6\`"
    echo "  on the same lines to PostScript, as a whole process. The issue sets no goal here."
    echo "- Start-up and peak memory: the program's own main() and a bare QMainWindow, each built"
    echo "  with bench/firstshow.cpp, which ends the process once its first window is exposed and"
    echo "  painted; timed from the start of the process to its end, on Xvfb, started in the"
    echo "  folder to show. Peak memory is the maximum resident set of the process (wait4)."
    echo "- The bare window, the floor the start-up goal is set against, draws no text and so never"
    echo "  sets up fonts: profiled with callgrind, about half of the program's start-up goes to"
    echo "  fontconfig and Qt's font database (FcInit, QFontconfigDatabase::populateFontDatabase),"
    echo "  which every window with text pays. The second floor, the same window with one label,"
    echo "  pays it too; against it the program's start-up is what is its own."
    echo "- Start-up the program adds: its start-up in the folder of 100000 files less that of the"
    echo "  bare window there, against \`ls -1\` on the same folder, whole process, in the C locale (a"
    echo "  byte sort) and in German; and the processor time (user and system, wait4) it adds"
    echo "  against that of \`ls -1\` in C, which a busy machine does not stretch as it stretches"
    echo "  the start-up of a program that uses both cores."
    echo "- The folder of 1000000 files: start-up against that with 100000 files, and peak memory"
    echo "  against the bare window; fewer rounds (a third)."
    echo "- Lists (\`lirabel --liste\`): each as a whole process, output to /dev/null, against"
    echo "  \`ls -1\` in the C locale (100000 files in one folder), \`find -type f\` (a tree of 200000 files"
    echo "  in 2000 folders of 100, three levels deep) and a python3-mutagen script (bench/readtags.py)"
    echo "  reading artist, title and length of 1000 tagged MP3 files of three seconds. Peak memory"
    echo "  of the tree against the same list of its largest folder alone."
    echo "- The html page (bench/html_page.py): \`--liste --format html --unterordner\` over 1000000 files"
    echo "  in 10000 folders (names of 25 characters, sizes of seven digits), opened in headless"
    echo "  Chromium through selenium: its bytes per file; the first rows visible, performance.now()"
    echo "  in the animation frame after the first row of cells is in the document, median of 5 loads;"
    echo "  in each load five searches typed (the input event to the frame after it) and the first sort"
    echo "  by size (the click to the frame after it), medians. Beside them the page as Lirabel wrote it before (one static table, written"
    echo "  by the script as that writer did) over the tree of 200000 files: its bytes per file, its first"
    echo "  rows and its whole load (one load), and the browser's own find (window.find) for a search."
    echo "- Lists for programs: \`--format json\` of the tree of 200000 files against \`--format csv\`"
    echo "  of the same columns, program and reference in turn, median of 15; peak memory of"
    echo "  \`--format jsonl\` over 1000000 files in 10000 folders of 100 against the same list of"
    echo "  its largest folder alone (three rounds)."
    echo "- PDF list: \`--liste --unterordner --format pdf --spalten name,groesse,datum\` over 100000"
    echo "  files in 1000 folders, its walk included, as a whole process, against enscript piped into"
    echo "  ps2pdf over a CSV of the same rows written beforehand (not timed); peak memory against the"
    echo "  PDF of 1000 files; LibreOffice Calc's \`soffice --headless --convert-to pdf\` of that CSV"
    echo "  beside it, a few rounds only."
    echo "- The walk against bfs (a general file finder) and \`ls -1U\` (unsorted): median of"
    echo "  ${BENCH_WALK_ROUNDS:-15}, program and reference in turn; for sizes and dates also the"
    echo "  user and system time (wait4), the work done rather than the second core. A folder of"
    echo "  1024 files or more has its sizes and dates asked by two threads; the tree's folders"
    echo "  of 100 are read by two readers. System calls counted with \`strace -f -c\`."
    echo "- Checksums: \`--spalten name,pruefsumme\` on 1000 files of 1 MiB and \`--format sha256\` on one"
    echo "  file of 2 GiB against one \`openssl dgst -sha256\` process over the same files; \`--vergleichen\`"
    echo "  with the tree's JSON list (no checksums) against writing that list; median of 11 each."
    echo "- Key typed in the filter: the file list of the middle folder gets a new pattern and is"
    echo "  refreshed, as at every key typed in the box; the median over several patterns."
} > "$results"

echo
cat "$results"
