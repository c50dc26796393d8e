#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# End to end through a real CUPS queue: installs CUPS with a PDF printer when
# it is missing, starts a scheduler when none answers, prints a small listing
# with cups_print (the program's own print path) to the queue LirabelPDF and
# checks the text of the PDF that arrives; then, given lirabel, prints a list
# with `lirabel --liste --drucker` and finds every row in the PDF. Where CUPS
# cannot be set up the test is skipped (exit 77), never passed.
#
# usage: cups_print_test.sh PATH_TO_cups_print [PATH_TO_lirabel]
set -u
readonly SKIP=77 QUEUE=LirabelPDF
program=$1
lirabel=${2:-}

skip() { echo "SKIPPED: $*"; exit $SKIP; }
fail() { echo "FAILED: $*"; exit 1; }

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo -n true 2>/dev/null || skip "needs root (or sudo without password) to set up CUPS"
  sudo="sudo -n"
fi

# One run at a time on this machine: the scheduler and the queue are shared.
lock=/tmp/lirabel-cups-test.lock
[ -e "$lock" ] || : >"$lock"
exec 9<"$lock" || skip "cannot open $lock"
flock -w 600 9 || skip "another CUPS test holds the lock"

work=$(mktemp -d)
cupsd_pid=""
created_queue=""
cleanup() {
  [ -n "$created_queue" ] && $sudo lpadmin -x "$QUEUE" 2>/dev/null
  if [ -n "$cupsd_pid" ]; then
    $sudo kill "$cupsd_pid" 2>/dev/null
    wait "$cupsd_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

missing=()
for pkg in cups printer-driver-cups-pdf poppler-utils; do
  [ "$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null)" = installed ] || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
  command -v apt-get >/dev/null || skip "no apt-get to install ${missing[*]}"
  echo "Installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >"$work/apt.log" 2>&1; then
    $sudo apt-get update -qq >>"$work/apt.log" 2>&1
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >>"$work/apt.log" 2>&1 \
      || { tail -5 "$work/apt.log"; skip "cannot install ${missing[*]}"; }
  fi
fi

scheduler_runs() { lpstat -r 2>/dev/null | grep -qx "scheduler is running"; }
if ! scheduler_runs; then
  $sudo cupsd -f >"$work/cupsd.log" 2>&1 &
  cupsd_pid=$!
  for _ in $(seq 100); do
    scheduler_runs && break
    kill -0 "$cupsd_pid" 2>/dev/null || break
    sleep 0.1
  done
  scheduler_runs || { cat "$work/cupsd.log"; skip "the CUPS scheduler does not start here"; }
fi

model=$(lpinfo -m 2>/dev/null | awk '$1 ~ /CUPS-PDF_opt\.ppd$/ { print $1; exit }')
[ -n "$model" ] || skip "CUPS lists no CUPS-PDF printer model"
lpstat -v "$QUEUE" >/dev/null 2>&1 || created_queue=1
# Without the cairo renderer the PDF that arrives holds glyphs a reader
# cannot turn back into text.
$sudo lpadmin -p "$QUEUE" -E -v cups-pdf:/ -m "$model" -o pdftops-renderer-default=pdftocairo 2>"$work/lpadmin.log" \
  || { cat "$work/lpadmin.log"; skip "cannot create the queue $QUEUE"; }

# Where cups-pdf puts the files of this user.
user=$(id -un)
home=$(getent passwd "$user" | cut -d: -f6)
out=$(awk '$1 == "Out" { print $2 }' /etc/cups/cups-pdf.conf 2>/dev/null | tail -1)
out=${out:-/var/spool/cups-pdf/\$\{USER\}}
out=${out//\$\{HOME\}/$home}
out=${out//\$\{USER\}/$user}

touch "$work/before"
sleep 1 # file times have a resolution of a second on some file systems
"$program" "$QUEUE"
status=$?
[ $status -eq $SKIP ] && skip "Qt reaches no print server"
[ $status -eq 0 ] || fail "printing through the queue failed (exit $status)"

# The PDF arrives shortly after the painter ends: wait until the queue is empty.
for _ in $(seq 600); do
  [ -z "$(lpstat -o "$QUEUE" 2>/dev/null)" ] && break
  sleep 0.1
done
[ -z "$(lpstat -o "$QUEUE" 2>/dev/null)" ] && echo "queue empty" || fail "the job stays in the queue: $(lpstat -o "$QUEUE")"
pdf=""
for _ in $(seq 100); do
  pdf=$($sudo find "$out" -name '*.pdf' -newer "$work/before" 2>/dev/null | head -1)
  [ -n "$pdf" ] && break
  sleep 0.1
done
[ -n "$pdf" ] || fail "no PDF arrived in $out"
echo "PDF: $pdf"

$sudo pdftotext -layout "$pdf" - >"$work/text" || fail "pdftotext cannot read $pdf"
$sudo pdffonts "$pdf" >"$work/fonts" 2>&1
$sudo rm -f "$pdf"
echo "--- pdftotext -layout"
cat "$work/text"
echo "--- pdffonts"
cat "$work/fonts"
echo "---"

# The entries in order, stripped and numbered, a blank line after every second.
expected=$'001.) Brief an Oma\n002.) Grüße aus Köln\n\n003.) Lied\n004.) Zeugnis 2024\n\n005.) README'
actual=$(sed -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//' "$work/text" | tr -d '\f' | sed -e '/./,$!d')
[ "$actual" = "$expected" ] || fail "the printed text differs; expected:
$expected"
grep -q "LiberationSerif" "$work/fonts" || fail "the listing is not printed in Liberation Serif"

if [ -n "$lirabel" ]; then
  # A list of two pages: its job, like the window's, arrives as one PDF.
  mkdir -p "$work/Liste/Unterordner"
  for i in $(seq 1 90); do printf '%*s' "$i" x >"$work/Liste/Brief $i an Jürgen.txt"; done
  for i in $(seq 1 30); do : >"$work/Liste/Unterordner/Lied $i.mp3"; done
  touch "$work/before"
  sleep 1
  env -u DISPLAY -u WAYLAND_DISPLAY "$lirabel" --liste --unterordner --drucker "$QUEUE" "$work/Liste" 2>"$work/stderr" \
    || fail "lirabel --liste --drucker failed: $(cat "$work/stderr")"
  [ -s "$work/stderr" ] && fail "lirabel wrote to standard error: $(cat "$work/stderr")"
  for _ in $(seq 600); do
    [ -z "$(lpstat -o "$QUEUE" 2>/dev/null)" ] && break
    sleep 0.1
  done
  pdfs=""
  for _ in $(seq 100); do
    pdfs=$($sudo find "$out" -name '*.pdf' -newer "$work/before" 2>/dev/null)
    [ -n "$pdfs" ] && break
    sleep 0.1
  done
  [ "$(echo "$pdfs" | grep -c .)" -eq 1 ] || fail "not one PDF arrived for the list: $pdfs"
  $sudo pdftotext -layout "$pdfs" - >"$work/list" || fail "pdftotext cannot read $pdfs"
  $sudo rm -f "$pdfs"
  for i in $(seq 1 90); do grep -q "Brief $i an Jürgen\.txt  .* $i  " "$work/list" || fail "row $i is missing"; done
  for i in $(seq 1 30); do grep -q "Lied $i\.mp3 " "$work/list" || fail "Lied $i is missing"; done
  pages=$(grep -c "Seite [0-9]* von" "$work/list")
  [ "$pages" -ge 2 ] && [ "$(grep -c "Seite [0-9]* von $pages\$" "$work/list")" -eq "$pages" ] \
    || fail "the pages do not count to $pages"
  grep -q "Gesamt: 120 Dateien in 2 Ordnern, 4.095 Bytes" "$work/list" || fail "the grand total is wrong"
  echo "the printed list holds every row"
fi
echo "PASSED"
