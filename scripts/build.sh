#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds Vendle in build/ (Release), with its tests and benchmark; VENDLE_WERROR=ON
# in the environment (CI) turns warnings into errors.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVENDLE_WERROR="${VENDLE_WERROR:-OFF}" \
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --build build -j "$(nproc)"
