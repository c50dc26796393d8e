#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# Fails when a file of the program includes a header of a layer above its own.
# The layers, and the folders each may include besides its own:
#   platform/names      -
#   platform            -
#   platform/files      platform platform/names
#   platform/qt         platform platform/names platform/files
#   platform/controls   platform platform/names platform/files
#   platform/tags       platform platform/names platform/files
#   listing             platform platform/names platform/files
#   output              platform platform/names platform/files platform/qt listing
#   output/lists        platform platform/names platform/files platform/tags listing
#   app/commandline     platform platform/names platform/files platform/tags listing
#                       output/lists
#   app                 everything
#
#   tools/check-layers.sh [ROOT]     (default: this repository)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

declare -A allowed=(
    [platform/names]="platform/names"
    [platform]="platform"
    [platform/files]="platform platform/names platform/files"
    [platform/qt]="platform platform/names platform/files platform/qt"
    [platform/controls]="platform platform/names platform/files platform/controls"
    [platform/tags]="platform platform/names platform/files platform/tags"
    [listing]="platform platform/names platform/files listing"
    [output]="platform platform/names platform/files platform/qt listing output"
    [output/lists]="platform platform/names platform/files platform/tags listing output/lists"
    [app/commandline]="platform platform/names platform/files platform/tags listing output/lists app/commandline"
    [app]="platform platform/names platform/files platform/qt platform/controls platform/tags listing output output/lists app/commandline app"
)

bad=0
while IFS= read -r file; do
    layer=$(dirname "$file")
    [ -n "${allowed[$layer]+set}" ] || { echo "$file: in no layer" >&2; bad=1; continue; }
    while IFS= read -r header; do
        target=$(dirname "$header")
        [ -n "${allowed[$target]+set}" ] || continue # a header outside the layers
        case " ${allowed[$layer]} " in
        *" $target "*) ;;
        *) echo "$file: includes $header, a layer above $layer" >&2; bad=1 ;;
        esac
    done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file")
done < <(find platform listing output app -name '*.cpp' -o -name '*.h' | sort)

[ $bad -eq 0 ] || { echo "check-layers: a lower layer includes a higher one" >&2; exit 1; }
echo "check-layers: every include points down"
