#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program in Debug with warnings as errors (build-debug/) and runs the clang-tidy checks
# of .clang-tidy over the program's sources changed since a commit.
# Usage: scripts/lint.sh [COMMIT | --all]   (default: the sources of the last 10 commits)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
cmake -S . -B build-debug -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVENDLE_WERROR=ON -DVENDLE_BUILD_TESTS=OFF \
    -DVENDLE_BUILD_BENCH=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --build build-debug -j "$(nproc)"

if [ "${1:-}" = "--all" ]; then
    mapfile -t files < <(git ls-files 'src/*.cpp')
else
    base="${1:-}"
    if [ -z "$base" ]; then
        count=$(git rev-list --count HEAD)
        base="HEAD~$((count > 10 ? 10 : count - 1))"
    fi
    mapfile -t files < <(git diff --name-only --diff-filter=d "$base" -- 'src/*.cpp')
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
