#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Vendle with its tests and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR="$(mktemp -d /tmp/vendle-test-runtime.XXXXXX)"
chmod 0700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
cd build
ctest -j2 --output-on-failure
