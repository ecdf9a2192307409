#!/usr/bin/env bash
# Builds the libFuzzer target with clang, AddressSanitizer and UBSan in
# build-fuzz/, replays the regression inputs, then fuzzes for about a minute
#   scripts/fuzz.sh [SECONDS]   (default 60)
# Any crash, leak, sanitizer report, broken promise (fuzz/edit_checks.cpp)
# or input slower than the time limit fails the run; the input that caused
# it is left in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

seconds="${1:-60}"
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DVELLONIX_FUZZ=ON -DVELLONIX_BUILD_TESTS=OFF \
  -DVELLONIX_BUILD_GUI=OFF -DVELLONIX_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)" --target vellonix-fuzz-image vellonix-fuzz-seeds

rm -rf "$build/seeds" "$build/regression"
mkdir -p "$build/corpus" "$build/findings"
"$build/fuzz/vellonix-fuzz-seeds" "$build/seeds" "$build/regression"

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
fuzzer="$build/fuzz/vellonix-fuzz-image"
# A scan that is linear in the disk's size handles the slowest regression
# input in about two seconds under the sanitizers; one that walks every
# chain of a looping directory to its end takes ten times as long.
limits=(-timeout=10 -rss_limit_mb=2048)

# Inputs that once broke a promise, each run once.
"$fuzzer" "${limits[@]}" "$build"/regression/*

# New inputs go to corpus/, kept between runs; the seeds stay as generated.
# Faster inputs get more of the minute.
"$fuzzer" -max_total_time="$seconds" -max_len=65536 "${limits[@]}" -entropic_scale_per_exec_time=1 \
  -print_final_stats=1 -artifact_prefix="$build/findings/" "$build/corpus" "$build/seeds"
