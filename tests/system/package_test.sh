#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# Builds the Debian package with CPack and checks what a user gets from it.
#
#   package_test.sh BUILD_DIR VERSION APP_ID DESCRIPTION_FILE
#
# Always: the package's fields, its files, the desktop entry and metainfo as they are
# packed, the manual pages, and lintian's verdict. As root with apt-get: installs the
# package with apt (which pulls in what it depends on), checks the installed files, starts
# /usr/bin/lirabel and sees its main window, and removes the package again. Without root that half is not run and the test reports
# SKIP (exit 77), not a pass.
set -uo pipefail

build=$1
version=$2
app_id=$3
description_file=$4

. "$(dirname "$0")/checks.sh"
finish() {
    if [ "$failures" -gt 0 ]; then
        echo "$failures check(s) failed"
        exit 1
    fi
    exit "${1:-0}"
}

. "$(dirname "${BASH_SOURCE[0]}")/../../tools/xvfb.sh"

work=$(mktemp -d)
installed_here=0
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill -KILL "$program_pid" 2>/dev/null
    xvfb_stop
    if [ "$installed_here" = 1 ]; then
        DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq -o DPkg::Lock::Timeout=600 lirabel \
            >"$work/remove.log" 2>&1 || cat "$work/remove.log"
    fi
    rm -rf "$work"
}
trap cleanup EXIT

window=usr/libexec/lirabel/lirabel-fenster
# The readers of tags and checksums, a module loaded beside the window program.
content_module=usr/libexec/lirabel/lirabel-inhalte.so
desktop=usr/share/applications/$app_id.desktop
icon=usr/share/icons/hicolor/scalable/apps/$app_id.svg
metainfo=usr/share/metainfo/$app_id.metainfo.xml
manpages=(usr/share/man/man1/lirabel.1.gz usr/share/man/de/man1/lirabel.1.gz)
docs=(usr/share/doc/lirabel/copyright usr/share/doc/lirabel/changelog.gz)
servicemenu=usr/share/kio/servicemenus/$app_id.dateiliste.desktop
context_menus=("$servicemenu" usr/share/kio/servicemenus/$app_id.dateiliste-kopieren.desktop
    usr/share/file-manager/actions/lirabel-dateiliste{,-text,-tabelle,-webseite,-wiedergabeliste,-pdf,-drucken,-kopieren,-vergleichen}.desktop
    usr/share/nemo/actions/lirabel-dateiliste-{text,tabelle,webseite,wiedergabeliste,pdf,drucken,kopieren,vergleichen}.nemo_action)
schema=usr/share/lirabel/lirabel-liste.schema.json
wanted_files=(usr/bin/lirabel "$window" "$content_module" "$desktop" "$icon" "$metainfo" "${manpages[@]}" "${docs[@]}" "${context_menus[@]}"
    "$schema")

# --- building the package -------------------------------------------------------------
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    fail "cpack could not build the package"
    finish
fi
shopt -s nullglob
debs=("$work"/out/lirabel_*.deb)
shopt -u nullglob
if [ ${#debs[@]} -ne 1 ]; then
    ls -l "$work/out"
    fail "expected exactly one lirabel_*.deb, found ${#debs[@]}"
    finish
fi
deb=${debs[0]}
echo "built $(basename "$deb")"

# --- the package's fields -------------------------------------------------------------
before=$failures
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = lirabel ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', the project's is $version"
[ "$(field Section)" = utils ] || fail "Section is '$(field Section)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer '$(field Maintainer)' is not 'Name <e-mail>'"
# Read whole first: grep -q stops at the match, and under pipefail dpkg-deb's broken pipe would fail the check.
grep -q 'Lirabel listet die Dateinamen' <<<"$(field Description)" || fail "Description has no German text"

# The long description as written, quotes and all: dpkg shows it indented, "." for a blank line.
wanted_description=$(sed 's/^$/./; s/^/ /' "$description_file")
shown_description=$(field Description | tail -n +2)
[ "$shown_description" = "$wanted_description" ] \
    || fail "the description differs from $description_file: $(diff <(echo "$wanted_description") <(echo "$shown_description"))"

# Depends as a list of package names, versions and alternatives stripped; each named once.
depends=$(field Depends | tr ',|' '\n\n' | sed 's/(.*)//; s/[[:space:]]//g' | sed '/^$/d' | sort)
twice=$(uniq -d <<<"$depends")
[ -z "$twice" ] || fail "Depends names these more than once: $twice"
depends=$(uniq <<<"$depends")
for pkg in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libtag1v5 qt6-translations-l10n fonts-liberation libc6 libstdc++6; do
    grep -qx "$pkg" <<<"$depends" || fail "Depends lacks $pkg (it is: $(field Depends))"
done
[ "$(field Recommends)" = "qt6-wayland, wl-clipboard" ] \
    || fail "Recommends is '$(field Recommends)', not qt6-wayland, wl-clipboard"
[ "$(field Suggests)" = caja-actions ] || fail "Suggests is '$(field Suggests)', not caja-actions"
[ "$failures" -eq "$before" ] && ok "fields: $(field Package) $(field Version) $(field Section); Depends: $(field Depends)"

# --- the package's files --------------------------------------------------------------
before=$failures
dpkg-deb -c "$deb" >"$work/contents"
# Each line ends in ./path (a link would add " -> target", which this package has none of).
awk '{ print $1, $NF }' "$work/contents" >"$work/files"
for path in "${wanted_files[@]}"; do
    grep -q " \./$path\$" "$work/files" || fail "the package lacks /$path"
done
for program in usr/bin/lirabel "$window"; do
    grep -q "^-rwxr-xr-x \./$program\$" "$work/files" || fail "/$program is not a 0755 file"
done
for path in "$content_module" "$desktop" "$icon" "$metainfo" "${context_menus[@]}"; do
    grep -q "^-rw-r--r-- \./$path\$" "$work/files" || fail "/$path is not a 0644 file"
done
stray=$(awk '$1 !~ /^d/ { print $2 }' "$work/files" | grep -v -x -e ./usr/bin/lirabel -e "./$window" -e "./$content_module" \
    -e './usr/share/.*')
[ -z "$stray" ] || fail "the package holds files outside /usr/share besides the programs: $stray"
[ "$failures" -eq "$before" ] && ok "package holds ${wanted_files[*]}"

dpkg-deb -x "$deb" "$work/root"
if command -v readelf >/dev/null; then
    for program in usr/bin/lirabel "$window"; do
        search_path=$(readelf -d "$work/root/$program" | grep -E 'RPATH|RUNPATH')
        [ -z "$search_path" ] || fail "/$program carries a library search path: $search_path"
    done
    # The help, the version and the lists start without the window system's libraries.
    gui=$(readelf -d "$work/root/usr/bin/lirabel" | grep -E 'NEEDED.*(Gui|Widgets|PrintSupport)')
    [ -z "$gui" ] || fail "/usr/bin/lirabel needs the window's libraries: $gui"
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$work/root/$desktop" || fail "desktop-file-validate rejects the packed desktop entry"
    desktop-file-validate "$work/root/$servicemenu" || fail "desktop-file-validate rejects Dolphin's service menu"
fi
grep -qx 'Exec=lirabel %f' "$work/root/$desktop" || fail "the desktop entry does not start lirabel with the chosen folder"
grep -qx "Icon=$app_id" "$work/root/$desktop" || fail "the desktop entry's icon is not $app_id"
grep -qx 'Categories=Utility;' "$work/root/$desktop" || fail "the desktop entry is not in Utility"
grep -q '<svg ' "$work/root/$icon" || fail "the icon is no SVG"
grep -q "<release version=\"$version\"" "$work/root/$metainfo" \
    || fail "the metainfo names no release $version"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$work/root/$metainfo" \
    || fail "the metainfo does not launch $app_id.desktop"
if command -v appstreamcli >/dev/null; then
    # The validator wants the file under its installed name.
    (cd "$work/root/usr/share/metainfo" && appstreamcli validate --no-net "$app_id.metainfo.xml") \
        || fail "appstreamcli rejects the metainfo"
fi

# The licence and the changelog as Debian keeps them.
grep -qx 'License: GPL-3.0-or-later' "$work/root/usr/share/doc/lirabel/copyright" \
    || fail "the copyright file names no GPL-3.0-or-later licence"
zcat "$work/root/usr/share/doc/lirabel/changelog.gz" | head -1 | grep -q "^lirabel ($version) " \
    || fail "changelog.gz does not begin with version $version"
grep -q "<project_license>GPL-3.0-or-later</project_license>" "$work/root/$metainfo" \
    || fail "the metainfo names no project licence"

# The manual pages: mandoc finds nothing but lines too long to break, each one word.
if command -v mandoc >/dev/null; then
    for page in "${manpages[@]}"; do
        complaints=$(mandoc -T lint "$work/root/$page" 2>&1 | grep -v 'input text line longer than 80 bytes: [^ ]*$')
        [ -z "$complaints" ] || fail "mandoc on /$page: $complaints"
    done
    grep -q '^\.SH ÜBERSICHT' <(zcat "$work/root/${manpages[1]}") || fail "the German manual page is not German"
    grep -q '^\.SH SYNOPSIS' <(zcat "$work/root/${manpages[0]}") || fail "the English manual page is not English"
fi

# Debian's own verdict: no error and no warning, the binary hardened and stripped as Debian does.
if command -v lintian >/dev/null; then
    lintian -I --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 || fail "lintian: $(cat "$work/lintian.log")"
    ! grep -E '^[EWI]: lirabel[^:]*: (hardening-no-|binary-has-unneeded-section)' "$work/lintian.log" \
        || fail "lintian: the binary is not hardened or not stripped as Debian does"
fi

# --- installing it --------------------------------------------------------------------
if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null; then
    echo "SKIP: installing the package needs root and apt-get"
    finish 77
fi
# Two build folders may run this at once; they take turns with the one system.
exec 9>/var/lock/lirabel-package-test.lock
flock -w 900 9 || { fail "waited too long for another package test"; finish; }
if dpkg-query -W -f='${db:Status-Status}' lirabel 2>/dev/null | grep -qx installed; then
    echo "SKIP: a lirabel package is installed already; this test leaves it alone"
    finish 77
fi

installed_here=1
if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=600 "$deb" \
        >"$work/install.log" 2>&1; then
    cat "$work/install.log"
    fail "apt-get could not install the package"
    finish
fi
ok "apt-get installed $(basename "$deb")"

for path in "${wanted_files[@]}"; do
    [ -f "/$path" ] || fail "/$path is missing after the install"
    dpkg -S "/$path" 2>/dev/null | grep -q '^lirabel: ' || fail "/$path does not belong to lirabel"
done
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "/$desktop" || fail "desktop-file-validate rejects /$desktop"
fi
for program in /usr/bin/lirabel "/$window"; do
    missing_libs=$(ldd "$program" | grep 'not found')
    [ -z "$missing_libs" ] || fail "$program cannot find: $missing_libs"
done

# File managers offer the program for folders, and start it with the folder as its argument.
grep -qx 'MimeType=inode/directory;' "/$desktop" && ok "/$desktop offers lirabel for folders" \
    || fail "/$desktop has no MimeType=inode/directory;"
# The command line needs no display.
version_lines=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/lirabel --version 2>&1)
[ "$(head -2 <<<"$version_lines")" = "Lirabel $version
Lizenz GPL-3.0-or-later: GNU GPL Version 3 oder neuer <https://www.gnu.org/licenses/gpl.html>." ] \
    && ok "/usr/bin/lirabel --version: $(head -1 <<<"$version_lines")" \
    || fail "/usr/bin/lirabel --version says '$version_lines', not 'Lirabel $version' and its licence"
# A list for programs holds to the schema installed beside it.
/usr/bin/lirabel --liste --format json --unterordner "$work/root" >"$work/list.json" \
    && /usr/bin/python3 -c 'import json, jsonschema, sys; jsonschema.Draft202012Validator(json.load(open(sys.argv[1]))).validate(json.load(open(sys.argv[2])))' \
        "/$schema" "$work/list.json" \
    && ok "a list of --format json holds to /$schema" || fail "a list of --format json does not hold to /$schema"
# The installed program finds the module that reads checksums, beside the window program.
(cd "$work/root" && /usr/bin/lirabel --liste --unterordner --format sha256 . >"$work/sums" 2>"$work/sums.err" \
    && [ -s "$work/sums" ] && sha256sum -c --quiet "$work/sums") \
    && ok "an installed --format sha256 list passes sha256sum -c" \
    || fail "the installed --format sha256 list fails sha256sum -c: $(cat "$work/sums.err")"

# The program loads Qt's German texts from Qt's own translations folder (QLibraryInfo), as
# the installed libQt6Core reports it; the file there must come from a package we depend on.
translations=/usr/share/qt6/translations
if command -v qtpaths6 >/dev/null; then
    translations=$(qtpaths6 --query QT_INSTALL_TRANSLATIONS)
fi
if owner=$(dpkg -S "$translations/qtbase_de.qm" 2>/dev/null); then
    owner=${owner%%:*}
    grep -qx "$owner" <<<"$depends" || fail "$translations/qtbase_de.qm comes from $owner, which lirabel does not depend on"
    ok "Qt's German texts: $translations/qtbase_de.qm from $owner"
else
    fail "no package installed $translations/qtbase_de.qm"
fi

# --- starting the installed program ---------------------------------------------------
# From a folder of its own, so that nothing ties it to the build.
mkdir -p "$work/run"
cd "$work/run" || exit 1

# Offscreen: it must keep running with its window up, and end on SIGTERM as a desktop
# session ends it.
QT_QPA_PLATFORM=offscreen /usr/bin/lirabel >"$work/offscreen.log" 2>&1 &
program_pid=$!
# lirabel hands the window to its window program in the same process.
exe=
for _ in $(seq 50); do
    exe=$(readlink "/proc/$program_pid/exe" 2>/dev/null) && [ "$exe" = "/$window" ] && break
    sleep 0.1
done
[ "$exe" = "/$window" ] || fail "the running program is '$exe', not /$window"
sleep 2
if kill -0 "$program_pid" 2>/dev/null; then
    kill -TERM "$program_pid"
    for _ in $(seq 50); do
        kill -0 "$program_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$program_pid" 2>/dev/null; then
        fail "the installed program did not end on SIGTERM"
    else
        wait "$program_pid" 2>/dev/null
        ok "the installed program ran offscreen for 2 s and ended on SIGTERM"
    fi
else
    wait "$program_pid"
    fail "the installed program ended by itself within 2 s (exit $?)"
    cat "$work/offscreen.log"
fi
program_pid=

# On an X server, through the xcb plugin a desktop uses: a window of the program's process
# must be mapped on the screen.
if command -v Xvfb >/dev/null && command -v xwininfo >/dev/null && command -v xprop >/dev/null; then
    if ! xvfb_start "$work" -screen 0 1024x768x24; then
        fail "no X server to look for the program's window on"
        finish
    fi
    display=$xvfb_display
    DISPLAY=$display QT_QPA_PLATFORM=xcb /usr/bin/lirabel >"$work/xcb.log" 2>&1 &
    program_pid=$!
    found=0
    title=
    wm_class=
    for _ in $(seq 150); do
        kill -0 "$program_pid" 2>/dev/null || break
        while read -r id; do
            DISPLAY=$display xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
            DISPLAY=$display xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -q "= $program_pid\$" || continue
            found=1
            title=$(DISPLAY=$display xprop -id "$id" _NET_WM_NAME 2>/dev/null | sed -n 's/^[^"]*"\(.*\)"$/\1/p')
            # Docks tie the window to the menu entry through its WM_CLASS.
            wm_class=$(DISPLAY=$display xprop -id "$id" WM_CLASS 2>/dev/null | sed -n 's/^.*, "\(.*\)"$/\1/p')
            break 2
        done < <(DISPLAY=$display xwininfo -root -children 2>/dev/null | awk '$1 ~ /^0x/ { print $1 }')
        sleep 0.1
    done
    if [ "$found" = 1 ]; then
        ok "the installed program shows its window \"$title\" on X"
        grep -qx "StartupWMClass=$wm_class" "/$desktop" \
            || fail "the window's WM_CLASS is '$wm_class', the desktop entry's StartupWMClass differs"
    else
        fail "the installed program showed no window on X within 15 s"
        cat "$work/xcb.log"
    fi
    kill -TERM "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
    program_pid=
    xvfb_stop
else
    echo "note: Xvfb, xwininfo or xprop missing: the window was not looked for on X"
fi

# --- removing it again ----------------------------------------------------------------
cd / || exit 1
installed_here=0
if DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq -o DPkg::Lock::Timeout=600 lirabel \
        >"$work/remove.log" 2>&1; then
    for path in "${wanted_files[@]}"; do
        [ ! -e "/$path" ] || fail "/$path is still there after the removal"
    done
    ok "apt-get removed the package"
else
    cat "$work/remove.log"
    fail "apt-get could not remove the package"
fi
finish
