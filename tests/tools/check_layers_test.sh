#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# The layer check passes on the program as it is and fails on each include
# that runs against the layers, naming the file.
set -euo pipefail
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

copy() {
    rm -rf "$work/tree"
    mkdir -p "$work/tree"
    cp -r "$source"/{core,fs,lists,paper,ui,cli,app,tools} "$work/tree"
}

copy
bash "$work/tree/tools/check-layers.sh" "$work/tree" >/dev/null

fails=0
expect_refused() { # FILE LINE
    copy
    printf '%s\n' "$2" >>"$work/tree/$1"
    if out=$(bash "$work/tree/tools/check-layers.sh" "$work/tree" 2>&1); then
        echo "FAIL: '$2' in $1 passed the check" >&2
        fails=1
    elif ! grep -q "^$1: " <<<"$out"; then
        echo "FAIL: '$2' in $1 refused without naming the file: $out" >&2
        fails=1
    fi
}
expect_refused core/wildcard.cpp '#include "fs/handover.h"'
expect_refused fs/drives.cpp '#include "lists/listsink.h"'
expect_refused lists/csvlist.cpp '#include "ui/qtprinter.h"'
expect_refused ui/filelistbox.cpp '#include "lists/listrequest.h"'
expect_refused cli/commandline.cpp '#include "app/mainwindow.h"'
expect_refused cli/commandline.cpp '#include <QWidget>'
expect_refused fs/handover.cpp '#include <QtGui/QGuiApplication>'
expect_refused lists/listcommand.cpp '#include "paper/paperlist.h"'
expect_refused paper/paperlist.cpp '#include "ui/qtprinter.h"'
expect_refused paper/paperlist.cpp '#include <QWidget>'
[ $fails -eq 0 ] && echo "check-layers refuses every include against the layers"
exit $fails
