#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# Fails when a file of the program includes a header of a layer above its own
# or beside it, or when a layer that uses Qt Core alone includes a widget header.
# The layers, and the folders each may include besides its own:
#   core    -                    name and listing rules, interfaces (Qt Core)
#   fs      core                 the file system and its threads    (Qt Core)
#   lists   core fs              the lists' formats                  (Qt Core)
#   ui      core fs              widgets and dialogs
#   paper   core fs lists        the lists on paper: PDF and print   (Qt Gui, PrintSupport)
#   cli     core fs lists        the command line                    (Qt Core)
#   app     everything           the window program
# Layers marked Qt Core include no header of Qt Gui, Widgets or PrintSupport;
# paper draws without widgets and includes none of their headers.
#
#   tools/check-layers.sh [ROOT]     (default: this repository)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

declare -A allowed=(
    [core]="core"
    [fs]="core fs"
    [lists]="core fs lists"
    [ui]="core fs ui"
    [paper]="core fs lists paper"
    [cli]="core fs lists cli"
    [app]="core fs lists paper ui cli app"
)
coreonly=" core fs lists cli "
# Headers of Qt's modules above Core, by the names their classes carry.
guiheader='^<(QtGui|QtWidgets|QtPrintSupport)/|^<Q(Application|GuiApplication|Widget|Dialog|Painter|Printer|Font|Color|Palette|Screen|Pixmap|Icon|Image|Action|MessageBox|Clipboard|Style|Abstract(Button|ScrollArea)|PushButton|CheckBox|LineEdit|Label|ComboBox|ListView|Radio|GroupBox|MainWindow|KeyEvent|FocusEvent|CloseEvent|ShowEvent|DragEnterEvent|DropEvent|TextLayout|TextOption|PageLayout|FontMetrics)'
nowidgets=" paper "
widgetheader='^<(QtWidgets/|Q(Application|Widget|Dialog|MessageBox|PrintDialog|FontDialog|FileDialog|MainWindow|Label|LineEdit|PushButton|CheckBox|ComboBox|Style)>)'

bad=0
mapfile -t files < <(find core fs lists paper ui cli app -name '*.cpp' -o -name '*.h' | sort)
for file in "${files[@]}"; do
    layer=${file%%/*}
    [ -n "${allowed[$layer]+set}" ] || { echo "$file: in no layer" >&2; bad=1; continue; }
    [ "${file%/*}" = "$layer" ] || { echo "$file: a layer is one folder, without subfolders" >&2; bad=1; }
done
# Every include of every file in one pass: "file:#include ...".
quoted='^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)"'
angled='^[[:space:]]*#[[:space:]]*include[[:space:]]*(<[^>]+>)'
while IFS= read -r line; do
    file=${line%%:*}
    text=${line#*:}
    layer=${file%%/*}
    [ -n "${allowed[$layer]+set}" ] && [ "${file%/*}" = "$layer" ] || continue # named above
    if [[ $text =~ $quoted ]]; then
        header=${BASH_REMATCH[1]}
        target=${header%%/*}
        [ "$target" != "$header" ] && [ -n "${allowed[$target]+set}" ] || continue # outside the layers
        case " ${allowed[$layer]} " in
        *" $target "*) ;;
        *) echo "$file: includes $header, a layer above $layer or beside it" >&2; bad=1 ;;
        esac
    elif [[ $text =~ $angled ]]; then
        header=${BASH_REMATCH[1]}
        if [[ $coreonly == *" $layer "* ]] && [[ $header =~ $guiheader ]]; then
            echo "$file: includes $header, but $layer uses Qt Core alone" >&2; bad=1
        elif [[ $nowidgets == *" $layer "* ]] && [[ $header =~ $widgetheader ]]; then
            echo "$file: includes $header, but $layer draws without widgets" >&2; bad=1
        fi
    fi
done < <(grep -H -E '^[[:space:]]*#[[:space:]]*include' "${files[@]}")

[ $bad -eq 0 ] || { echo "check-layers: an include points against the layers" >&2; exit 1; }
echo "check-layers: every include points down"
