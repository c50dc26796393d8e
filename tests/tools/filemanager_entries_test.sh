#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# The file managers' entries: every label short enough that no menu cuts it,
# and every list in the one submenu where the file manager has submenus.
set -euo pipefail
entries=$1/packaging/filemanager
fails=0
fail() { echo "FAIL: $*" >&2; fails=1; }

# Nemo cuts a label of more than 30 characters; the others keep to the same.
while IFS= read -r line; do
    file=${line%%:*}
    label=${line#*=}
    [ "${#label}" -le 30 ] || fail "$file: label '$label' has ${#label} characters, more than 30"
done < <(grep -rE '^(Name|X-KDE-Submenu)(\[[a-z_A-Z]+\])?=' "$entries" | sed -E 's/:[^=]*=/:=/')

# PCManFM-Qt and Caja: each action that saves or prints is an item of the menu, and the menu names no other.
menu=$entries/actions/lirabel-dateiliste.desktop
items=$(sed -n 's/^ItemsList=//p' "$menu" | tr ';' '\n' | sed '/^$/d' | sort)
actions=$(grep -L -e '--zwischenablage' "$entries"/actions/lirabel-dateiliste-*.desktop | xargs -n1 basename \
    | sed 's/\.desktop$//' | sort)
[ "$items" = "$actions" ] || fail "the menu's items ($items) are not the actions ($actions)"

# Dolphin: every action in the submenu, and the same entries as the others.
service=$entries/dolphin/io.github.lirabel.Lirabel.dateiliste.desktop
grep -q '^X-KDE-Submenu=Dateiliste speichern$' "$service" || fail "Dolphin's entries are in no submenu"
for id in $(sed -n 's/^Actions=//p' "$service" | tr ';' ' '); do
    grep -q "^\[Desktop Action $id\]$" "$service" || fail "Dolphin's action $id is not described"
done
count=$(echo "$actions" | wc -l)
[ "$(grep -c '^\[Desktop Action ' "$service")" -eq "$count" ] || fail "Dolphin does not offer the $count entries"
[ "$(grep -L -e '--zwischenablage' "$entries"/nemo/*.nemo_action | wc -l)" -eq "$count" ] \
    || fail "Nemo does not offer the $count entries"
for command in "--liste --druckdialog --unterordner" "--liste --speichern --unterordner --format pdf"; do
    [ "$(grep -rlF -- "Exec=lirabel $command %" "$entries" | wc -l)" -eq 3 ] || fail "not every file manager runs lirabel $command"
done

# Every command lists every selected folder, and each file manager copies the
# list; the comparison takes one folder.
grep -rn '^Exec=' "$entries" | grep -v -e ' %F$' -e ' --vergleichen= %f$' && fail "a command above does not take every selected folder (%F)"
grep -rn '^Selection=' "$entries/nemo" | grep -v -e '=notnone$' -e 'vergleichen.nemo_action:.*=s$' && fail "a Nemo action above takes one folder only"
for folder in dolphin actions nemo; do
    grep -rlx 'Exec=lirabel --liste --zwischenablage --unterordner %F' "$entries/$folder" \
        | xargs -r grep -qx 'Name=Dateiliste kopieren' || fail "$folder has no entry \"Dateiliste kopieren\""
done

[ $fails -eq 0 ] && echo "the file managers' entries fit their menus"
exit $fails
