#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# Installs the Debian packages of the named groups of packages.txt that are
# not installed yet; without a group name, every group. A second run installs
# nothing.
#
#   tools/install-deps.sh [run] [test] [bench]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
wanted=" $* "
missing=()
group=""
while read -r line; do
  line=${line%%#*}; line=${line//[[:space:]]/}
  [ -n "$line" ] || continue
  if [[ $line == \[*\] ]]; then group=${line:1:-1}; continue; fi
  [ $# -eq 0 ] || [[ $wanted == *" $group "* ]] || continue
  status=$(dpkg-query -W -f='${db:Status-Status}' "$line" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$line")
done < "$here/packages.txt"
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
