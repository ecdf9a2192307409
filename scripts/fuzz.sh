#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UBSan in
# build-fuzz/, replays the regression inputs, then fuzzes for about a minute
#   scripts/fuzz.sh [SECONDS]   (default 60, shared by the targets: two
#                                fifths to the image target, a fifth each
#                                to import, BASIC and SCREEN$, and host files)
# Any crash, leak, sanitizer report, broken promise (fuzz/edit_checks.cpp,
# fuzz/fuzz_import.cpp, fuzz/fuzz_basic_screen.cpp,
# fuzz/fuzz_host_file_posix.cpp) or input slower than the time limit fails
# the run; the input that caused it is left in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --fuzz

seconds="${1:-60}"
build=build-fuzz
targets=(image import basic-screen host)
CC=clang CXX=clang++ cmake -S . -B "$build" -DVELLONIX_FUZZ=ON -DVELLONIX_BUILD_TESTS=OFF \
  -DVELLONIX_BUILD_GUI=OFF -DVELLONIX_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)" --target vellonix-fuzz-seeds "${targets[@]/#/vellonix-fuzz-}"

# Seeds and regression inputs, one folder per set (fuzz/make_seeds.cpp).
rm -rf "$build/inputs"
mkdir -p "$build/findings"
"$build/fuzz/vellonix-fuzz-seeds" "$build/inputs"

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# Scans that are linear in the disk's size handle the slowest regression
# input (seven scans of 3,200 looping chains) in under half a second under
# the sanitizers; scans that walk every chain to its SectorCount take
# fifteen seconds. Nothing a fuzz run makes comes near the limit otherwise.
limits=(-timeout=5 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings/")

# Inputs that once broke a promise, each run once.
"$build/fuzz/vellonix-fuzz-image" "${limits[@]}" "$build"/inputs/regression/*
"$build/fuzz/vellonix-fuzz-import" "${limits[@]}" "$build"/inputs/import-regression/*

# New inputs go to a corpus folder per target, kept between runs; the seeds
# stay as generated.
fuzz() {
  local target=$1 share=$2
  shift 2
  mkdir -p "$build/corpus/$target"
  "$build/fuzz/vellonix-fuzz-$target" -max_total_time=$((seconds * share / 5)) "${limits[@]}" "$@" \
    "$build/corpus/$target" "$build/inputs/$target"
}
# Faster inputs get more of the image target's time.
fuzz image 2 -max_len=65536 -entropic_scale_per_exec_time=1
fuzz import 1 -max_len=65536
fuzz basic-screen 1 -max_len=65536
# The host-file target's scratch files go to memory where it can.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
fuzz host 1
