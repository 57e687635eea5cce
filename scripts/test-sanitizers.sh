#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and its tests with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ (no benchmark) and runs every test there; any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Release -DVENDLE_SANITIZE=ON -DVENDLE_WERROR=ON \
    -DVENDLE_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR="$(mktemp -d /tmp/vendle-asan-runtime.XXXXXX)"
chmod 0700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
# GLib and GIO keep one-time caches for the life of the process; those, and nothing of ours, are
# not counted as leaks. Whole stacks are taken at every allocation, so that a cache made inside a
# library is recognised by the public function that made it.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:fast_unwind_on_malloc=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0:fast_unwind_on_malloc=0"
cd build-asan
ctest -j2 --output-on-failure
