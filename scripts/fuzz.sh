#!/usr/bin/env bash
# Builds the libFuzzer target with clang, AddressSanitizer and UBSan in
# build-fuzz/ and runs it from the generated seeds for about a minute
#   scripts/fuzz.sh [SECONDS]   (default 60)
# Any crash, leak, sanitizer report or failed check fails the run; the input
# that caused it is left in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

seconds="${1:-60}"
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DVELLONIX_FUZZ=ON -DVELLONIX_BUILD_TESTS=OFF \
  -DVELLONIX_BUILD_GUI=OFF -DVELLONIX_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)" --target vellonix-fuzz-image vellonix-fuzz-seeds

rm -rf "$build/seeds"
mkdir -p "$build/corpus" "$build/findings"
"$build/fuzz/vellonix-fuzz-seeds" "$build/seeds"

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# New inputs go to corpus/, kept between runs; the seeds stay as generated.
"$build/fuzz/vellonix-fuzz-image" -max_total_time="$seconds" -max_len=65536 -timeout=30 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$build/findings/" "$build/corpus" "$build/seeds"
