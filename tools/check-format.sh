#!/usr/bin/env bash
# Fails when a C++ file of the repository is not formatted as .clang-format
# says; with --fix, formats them in place instead (make format).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
    clang-format -i --style=file "${files[@]}"
    exit 0
fi
if ! clang-format --dry-run --Werror --style=file "${files[@]}"; then
    echo "check-format: these files are not formatted; make format formats them" >&2
    exit 1
fi
echo "check-format: ${#files[@]} files formatted"
