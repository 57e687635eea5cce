#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for the given number of
# seconds (default 60) from the seeds in tests/fuzz/corpus. A finding stops the run; the input is
# left in build-fuzz/findings/ to become a regression test.
# Usage: scripts/fuzz.sh [seconds] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
bash scripts/deps.sh fuzz
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
    -DCMAKE_CXX_COMPILER=clang++-14 -DVENDLE_FUZZ=ON -DVENDLE_BUILD_TESTS=OFF -DVENDLE_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target fuzz_shelllink fuzz_desktoplink fuzz_inifile fuzz_historyfile \
    fuzz_numbers fuzz_mountinfo fuzz_collation fuzz_xbel fuzz_chm fuzz_sitemap
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(shelllink desktoplink inifile historyfile numbers mountinfo collation xbel chm sitemap)
mkdir -p build-fuzz/findings
export ASAN_OPTIONS=detect_leaks=0:halt_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for t in "${targets[@]}"; do
    corpus="build-fuzz/corpus/$t"
    mkdir -p "$corpus"
    seeds=("tests/fuzz/corpus/$t")
    [ "$t" = shelllink ] && seeds+=(tests/core/data/lnk)
    echo "== fuzz_$t for ${seconds}s"
    build-fuzz/tests/fuzz/fuzz_"$t" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -malloc_limit_mb=1024 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/findings/$t-" "$corpus" "${seeds[@]}" 2>&1 | grep -E "^(==|#[0-9]+ +DONE|stat::|Done)|ERROR|SUMMARY" || true
    if ls build-fuzz/findings/"$t"-* >/dev/null 2>&1; then
        echo "fuzz_$t found a failing input: build-fuzz/findings/" >&2
        exit 1
    fi
done
echo "Fuzzing: no target found anything in ${seconds}s each"
