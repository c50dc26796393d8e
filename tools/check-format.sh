#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# Fails when a C++ file of the repository is not formatted as .clang-format
# says; with --fix, formats them in place instead (make format). Fails too when
# a source, CMake, shell or Python file does not begin with its licence lines.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
unlicensed=()
while read -r file; do
    [ -f "$file" ] || continue
    # The two lines first, after a "#!" line where there is one.
    head -3 "$file" | grep -v '^#!' | head -2 | tr -d '/#' \
        | diff -q - <(printf ' SPDX-License-Identifier: GPL-3.0-or-later\n SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler\n') \
            >/dev/null || unlicensed+=("$file")
done < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h' '*CMakeLists.txt' '*.sh' '*.py')
if [ ${#unlicensed[@]} -gt 0 ]; then
    echo "check-format: these files do not begin with their SPDX lines: ${unlicensed[*]}" >&2
    exit 1
fi
if [ "${1:-}" = --fix ]; then
    clang-format -i --style=file "${files[@]}"
    exit 0
fi
if ! clang-format --dry-run --Werror --style=file "${files[@]}"; then
    echo "check-format: these files are not formatted; make format formats them" >&2
    exit 1
fi
echo "check-format: ${#files[@]} files formatted"
