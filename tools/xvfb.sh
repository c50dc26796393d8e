# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# shellcheck shell=bash
# An X server of a script's own (Xvfb), on a display the server picks itself
# (-displayfd), so that scripts running at the same time never race for one.
# Sourced by the scripts that need one:
#
#   . tools/xvfb.sh
#   xvfb_start WORK_DIR [Xvfb arguments, e.g. -screen 0 1280x1024x24]
#       Starts Xvfb (no TCP) and waits up to 10 s until it takes connections.
#       Sets xvfb_display (":N") and xvfb_pid. When the server does not come up,
#       says why on stderr, with the server's own output, and returns 1.
#   xvfb_stop
#       Ends the server; harmless when none runs, so it fits an EXIT trap.
#
# Works under set -e and set -u. Files: WORK_DIR/xvfb-display, WORK_DIR/xvfb.log.

xvfb_pid=
xvfb_display=

xvfb_start() {
    local work=$1
    shift
    local number=$work/xvfb-display
    local log=$work/xvfb.log
    if ! command -v Xvfb >/dev/null; then
        echo "Xvfb is not installed (Debian package xvfb)" >&2
        return 1
    fi
    : >"$number"
    Xvfb -displayfd 3 -nolisten tcp "$@" 3>"$number" >"$log" 2>&1 &
    xvfb_pid=$!
    # The server writes the display number and a line end once it takes
    # connections; it may also end at once (a bad argument, no free display).
    local _
    for _ in $(seq 100); do
        [ "$(wc -l <"$number")" -ge 1 ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ "$(wc -l <"$number")" -lt 1 ]; then
        if kill -0 "$xvfb_pid" 2>/dev/null; then
            echo "Xvfb did not come up within 10 s. The end of its output:" >&2
        else
            echo "Xvfb ended before it came up. The end of its output:" >&2
        fi
        tail -n 15 "$log" | sed 's/^/    /' >&2
        xvfb_stop
        return 1
    fi
    xvfb_display=:$(head -n 1 "$number")
}

xvfb_stop() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    xvfb_pid=
    xvfb_display=
}
