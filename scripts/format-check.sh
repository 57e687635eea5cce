#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a tracked C++ source differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "clang-format is missing (apt-get install clang-format)" >&2; exit 1; }
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
echo "Formatting: all tracked sources match .clang-format"
