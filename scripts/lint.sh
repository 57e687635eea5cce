#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and the benchmark in Debug with warnings as errors (build-debug/) and runs the
# clang-tidy checks of .clang-tidy over every source of the program (CI), or over the sources
# changed since a commit.
# Usage: scripts/lint.sh [COMMIT]   (default: every source)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
cmake -S . -B build-debug -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVENDLE_WERROR=ON -DVENDLE_BUILD_TESTS=OFF \
    -DVENDLE_BUILD_BENCH=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --build build-debug -j "$(nproc)"

if [ -z "${1:-}" ] || [ "${1:-}" = "--all" ]; then
    mapfile -t files < <(git ls-files 'src/*.cpp')
else
    mapfile -t files < <(git diff --name-only --diff-filter=d "$1" -- 'src/*.cpp')
fi
# Only what the Debug tree compiles (the fuzz-only and helper sources are in it too).
checked=()
for f in "${files[@]}"; do
    grep -q "\"file\": \"$PWD/$f\"" build-debug/compile_commands.json && checked+=("$f")
done
if [ ${#checked[@]} -eq 0 ]; then
    echo "clang-tidy: no changed sources"
    exit 0
fi
echo "clang-tidy: ${#checked[@]} sources"
printf '%s\n' "${checked[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p build-debug --quiet --extra-arg=-Wno-unknown-warning-option 2>/dev/null
echo "clang-tidy: no findings"
