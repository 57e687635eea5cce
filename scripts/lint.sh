#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the clang-tidy checks of .clang-tidy over every source of the program (CI), or over the
# sources changed since a commit, with the compile commands of the README's build in build/
# (built first when it is not up to date; CI builds it with warnings as errors, tests and
# benchmark included).
# Usage: scripts/lint.sh [COMMIT]   (default: every source)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
bash scripts/build.sh

if [ -z "${1:-}" ] || [ "${1:-}" = "--all" ]; then
    mapfile -t files < <(git ls-files 'src/*.cpp')
else
    mapfile -t files < <(git diff --name-only --diff-filter=d "$1" -- 'src/*.cpp')
fi
# Only what the build compiles.
checked=()
for f in "${files[@]}"; do
    grep -q "\"file\": \"$PWD/$f\"" build/compile_commands.json && checked+=("$f")
done
if [ ${#checked[@]} -eq 0 ]; then
    echo "clang-tidy: no changed sources"
    exit 0
fi
echo "clang-tidy: ${#checked[@]} sources"
printf '%s\n' "${checked[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p build --quiet --extra-arg=-Wno-unknown-warning-option 2>/dev/null
echo "clang-tidy: no findings"
