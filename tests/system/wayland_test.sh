#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# The real program on a Wayland desktop: a headless sway of its own, keys
# through a virtual keyboard (wtype), Qt's wayland plugin (qt6-wayland).
# Checks, by keyboard only:
#   - Alt+A, Alt+W, a path typed into Qt's save dialog, Return: the saved file
#     holds exactly the folder's names in natural order, UTF-8, CR LF;
#   - Alt+D, Alt+W opens the font dialog, Escape brings the main window back;
#     once more with Return in the font dialog, the printer dialog opens and
#     Escape cancels it (without a print service, "Druckfehler" says so and
#     Return brings the main window back);
#   - the program writes no Qt warning to stderr all the while (the window
#     and the context menu's runs);
#   - Dolphin's "Dateiliste speichern" table entry, its command line run as
#     Dolphin runs it on a folder: Return in the save dialog writes the
#     folder's CSV beside it under the folder's name; Escape writes nothing
#     (exit 1); the other file managers' entries carry the same commands, each
#     for every selected folder.
# Sway refuses to run as root: as root, sway and the program run as nobody.
# Skipped (exit 77) where sway, wtype or the wayland plugin are missing, or
# where the compositor cannot start.
#
# usage: wayland_test.sh PATH_TO_lirabel
set -u
readonly SKIP=77
program=$(realpath "$1")

skip() {
    echo "SKIPPED: $*"
    exit $SKIP
}
. "$(dirname "$0")/checks.sh"

for tool in sway swaymsg wtype python3; do
    command -v $tool >/dev/null || skip "$tool is missing"
done
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null)
[ -e "$plugins/platforms/libqwayland-generic.so" ] || skip "Qt's wayland plugin is missing (package qt6-wayland)"

if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    owner=nobody:nogroup
else
    as_user=()
    owner=$(id -u):$(id -g)
fi
"${as_user[@]}" test -x "$program" || skip "$program cannot be run by $(id -un "${owner%%:*}")"

work=$(mktemp -d /tmp/lirabel-wayland.XXXXXX)
chmod 755 "$work"
mkdir -m 700 "$work/xdg" "$work/home" "$work/out"
chown "$owner" "$work/xdg" "$work/home" "$work/out"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill -KILL "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Everything runs as that user, in the work folder, with nothing of the caller's
# environment; $! is the process itself, as env and setpriv exec what they start.
base=("${as_user[@]}" env -i -C "$work" PATH=/usr/bin:/bin HOME="$work/home" LANG=C.UTF-8 XDG_RUNTIME_DIR="$work/xdg")

# --- the compositor ----------------------------------------------------------------------
printf 'xwayland disable\n' >"$work/sway.conf"
"${base[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
sway_pid=$!
pids+=($sway_pid)
session=()
for _ in $(seq 100); do
    for display in "$work"/xdg/wayland-*[0-9]; do
        for ipc in "$work"/xdg/sway-ipc.*.sock; do
            [ -S "$display" ] && [ -S "$ipc" ] || continue
            "${base[@]}" SWAYSOCK="$ipc" swaymsg -t get_version >/dev/null 2>&1 || continue
            session=("${base[@]}" WAYLAND_DISPLAY="$(basename "$display")" SWAYSOCK="$ipc")
            break 3
        done
    done
    alive "$sway_pid" || break
    sleep 0.1
done
if [ ${#session[@]} -eq 0 ]; then
    tail -n 15 "$work/sway.log"
    skip "sway did not start here"
fi

# A keyboard that stays: with none on the seat the program would lose its
# keyboard between two wtype calls, and the keys of the next call with it.
"${session[@]}" wtype -s 600000 &
pids+=($!)
keyboard=
for _ in $(seq 50); do
    "${session[@]}" swaymsg -t get_inputs 2>/dev/null | grep -q '"type": "keyboard"' && keyboard=1 && break
    sleep 0.1
done
[ -n "$keyboard" ] || skip "wtype could not add a keyboard to sway"
keys() { "${session[@]}" wtype "$@"; }

# The focused window's title, where it belongs to the program.
focused() {
    "${session[@]}" swaymsg -t get_tree 2>/dev/null | python3 -c '
import json, sys
def walk(node):
    if node.get("focused") and node.get("pid") == int(sys.argv[1]):
        print(node.get("name"))
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))' "$program_pid"
}
# Waits up to 10 s for the program's window TITLE to have the keyboard.
wait_for() { # TITLE
    local now=
    for _ in $(seq 100); do
        now=$(focused)
        [ "$now" = "$1" ] && return 0
        alive "$program_pid" || break
        sleep 0.1
    done
    fail "waited for the window \"$1\", the focused one is \"$now\""
    return 1
}
# Waits up to 10 s for one of the windows TITLE... and prints its title, or
# says which window has the keyboard instead.
wait_for_one() { # TITLE...
    local now= title
    for _ in $(seq 100); do
        now=$(focused)
        for title; do
            [ "$now" = "$title" ] && echo "$now" && return 0
        done
        alive "$program_pid" || break
        sleep 0.1
    done
    echo "none of $*, the focused window is \"$now\""
    return 1
}

# --- the program on a folder of its own ------------------------------------------------------
mkdir "$work/ordner" "$work/ordner/Unterordner"
for name in Zebra.txt 'Titel 10.mp3' 'über.txt' 'Titel 2.mp3' 'Äpfel.mp3' .versteckt; do
    : >"$work/ordner/$name"
done
"${session[@]}" QT_QPA_PLATFORM=wayland \
    QT_MESSAGE_PATTERN='[qt %{type}] %{if-category}%{category}: %{endif}%{message}' \
    "$program" "$work/ordner" >"$work/program.out" 2>"$work/program.err" &
program_pid=$!
pids+=($program_pid)

run() {
    wait_for Lirabel || return

    # Saving: the dialog opens in the home folder; a whole path typed goes elsewhere.
    keys -M alt a -m alt
    wait_for Einstellungen || return
    keys -M alt w -m alt
    wait_for "Speichern unter" || return
    keys -M ctrl a -m ctrl
    keys "$work/out/liste.txt"
    keys -k Return
    wait_for Lirabel || return
    printf '%s\r\n' 'Äpfel.mp3' 'Titel 2.mp3' 'Titel 10.mp3' 'über.txt' 'Zebra.txt' >"$work/expected.txt"
    if cmp -s "$work/expected.txt" "$work/out/liste.txt"; then
        ok "saved by keyboard: the folder's names, in natural order, UTF-8 with CR LF"
    else
        fail "the saved file differs from what was expected"
        od -c "$work/out/liste.txt" | head -20
    fi

    # Printing, cancelled in the font dialog, then in the printer dialog.
    keys -M alt d -m alt
    wait_for Einstellungen || return
    keys -M alt w -m alt
    wait_for "Schriftart auswählen" || return
    keys -k Escape
    wait_for Lirabel || return
    ok "the font dialog opens and Escape brings the main window back"
    keys -M alt d -m alt
    wait_for Einstellungen || return
    keys -M alt w -m alt
    wait_for "Schriftart auswählen" || return
    keys -k Return
    # Without a print service the printer dialog gives way to the message.
    local shown
    shown=$(wait_for_one Drucken Druckfehler)
    case $shown in
    Drucken)
        keys -k Escape
        wait_for Lirabel || return
        ok "the printer dialog opens and Escape brings the main window back" ;;
    Druckfehler)
        keys -k Return
        wait_for Lirabel || return
        ok "no print service: the message, and Return brings the main window back" ;;
    *)
        fail "after the font dialog: $shown" ;;
    esac
}
run

if alive "$program_pid"; then
    kill -TERM "$program_pid"
    wait "$program_pid" 2>/dev/null
else
    fail "the program ended by itself"
fi

# --- the file managers' context menus ------------------------------------------------------
menus=$(dirname "$0")/../../packaging/filemanager
# The commands by format, %f and %F as ORDNER: the same in all three file managers.
python3 - "$menus" <<'PYTHON' || fail "the file managers' entries differ"
import configparser, glob, sys
def keys(path):
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read(path, encoding="utf-8")
    return parser
# %f and Nemo's %F on a single selection name one folder.
def command(line, one=False):
    return line.replace("%F", "ORDNER" if one else "ORDNER…").replace("%f", "ORDNER")
dolphin = keys(sys.argv[1] + "/dolphin/io.github.lirabel.Lirabel.dateiliste.desktop")
ids = dolphin["Desktop Entry"]["Actions"].rstrip(";").split(";")
want = sorted(command(dolphin["Desktop Action " + i]["Exec"]) for i in ids)
items = keys(sys.argv[1] + "/actions/lirabel-dateiliste.desktop")["Desktop Entry"]["ItemsList"].rstrip(";").split(";")
actions = sorted(command(keys(f"{sys.argv[1]}/actions/{i}.desktop")["X-Action-Profile ordner"]["Exec"]) for i in items)
nemo = sorted(command(a["Exec"], a["Selection"] == "s")
              for a in (keys(f)["Nemo Action"] for f in glob.glob(sys.argv[1] + "/nemo/*.nemo_action")
                        if "kopieren" not in f))
formats = ["", " --format csv", " --format html", " --format m3u", " --format pdf"]
expected = sorted([f"lirabel --liste --speichern --unterordner{f} ORDNER…" for f in formats]
                  + ["lirabel --liste --druckdialog --unterordner ORDNER…",
                     "lirabel --liste --speichern --vergleichen= ORDNER"])
for name, found in (("Dolphin", want), ("file-manager actions", actions), ("Nemo", nemo)):
    if found != expected:
        sys.exit(f"{name}: {found}")
PYTHON
desktop-file-validate "$menus"/dolphin/*.desktop || fail "desktop-file-validate rejects Dolphin's service menu"

# Dolphin's table entry as Dolphin starts it on one folder: the Exec line
# split as the desktop entry's rules say, %F one argument for each folder.
folder="$work/out/Musik 'alt' \$HOME"
mkdir -p "$folder/Unter"
printf 12345 >"$folder/a 10.mp3"
printf abc >"$folder/b.txt"
printf x >"$folder/Unter/c.txt"
TZ=UTC touch -d '2026-05-04 03:02:01' "$folder/a 10.mp3" "$folder/b.txt" "$folder/Unter/c.txt"
chown -R "$owner" "$folder"
mapfile -t entry < <(python3 -c '
import configparser, shlex, sys
parser = configparser.ConfigParser(interpolation=None)
parser.read(sys.argv[1], encoding="utf-8")
for word in shlex.split(parser["Desktop Action tabelle"]["Exec"]):
    print(sys.argv[2] if word == "lirabel" else sys.argv[3] if word == "%F" else word)' \
    "$menus/dolphin/io.github.lirabel.Lirabel.dateiliste.desktop" "$program" "$folder")
save_list() { # KEYS...
    "${session[@]}" TZ=UTC QT_QPA_PLATFORM=wayland QT_MESSAGE_PATTERN='[qt %{type}] %{message}' \
        "${entry[@]}" >/dev/null 2>>"$work/program.err" &
    program_pid=$!
    pids+=($program_pid)
    wait_for "Speichern unter" && keys "$@" || kill -TERM "$program_pid"
    wait "$program_pid"
}
save_list -k Escape
status=$?
[ "$status" = 1 ] && [ -z "$(find "$folder" -name '*.csv')" ] \
    && ok "Escape in the save dialog writes nothing, exit status 1" || fail "Escape: exit $status, $(ls "$folder")"
save_list -k Return
status=$?
printf '\xef\xbb\xbfName;Ordner;Gr\xc3\xb6\xc3\x9fe;Ge\xc3\xa4ndert\r\n%s\r\n%s\r\n%s\r\n' \
    'a 10.mp3;.;5;2026-05-04 03:02:01' 'b.txt;.;3;2026-05-04 03:02:01' 'c.txt;Unter;1;2026-05-04 03:02:01' \
    >"$work/expected.csv"
if [ "$status" = 0 ] && cmp -s "$work/expected.csv" "$folder/Musik 'alt' \$HOME.csv"; then
    ok "the context menu's table entry saves the folder's CSV under the folder's name"
else
    fail "the context menu's table entry: exit $status, the folder holds: $(ls "$folder")"
fi

if grep -E '^\[qt (warning|critical|fatal)\]' "$work/program.err"; then
    fail "the program wrote Qt warnings"
else
    ok "no Qt warning on stderr"
fi

if [ "$failures" -gt 0 ]; then
    echo "--- the program's stderr:"
    cat "$work/program.err"
    echo "$failures check(s) failed"
    exit 1
fi
echo "PASSED"
