# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# shellcheck shell=bash
# What the system tests share, sourced by them: each check says "ok: …" or
# "FAIL: …" and the failures are counted, so a test runs every check and
# reports them all before it ends.

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
ok() { echo "ok: $*"; }
# Running, and not just a zombie nobody has reaped yet.
alive() { [ -e "/proc/$1" ] && [ "$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1)" != Z ]; }
