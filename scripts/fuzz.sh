#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UBSan in
# build-fuzz/, replays the regression inputs, then fuzzes for about a minute
#   scripts/fuzz.sh [SECONDS]   (default 60: three quarters on the image
#                                target, the rest on the host-file target)
# Any crash, leak, sanitizer report, broken promise (fuzz/edit_checks.cpp,
# fuzz/fuzz_host_file_posix.cpp) or input slower than the time limit fails
# the run; the input that caused it is left in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --fuzz

seconds="${1:-60}"
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DVELLONIX_FUZZ=ON -DVELLONIX_BUILD_TESTS=OFF \
  -DVELLONIX_BUILD_GUI=OFF -DVELLONIX_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)" --target vellonix-fuzz-image vellonix-fuzz-host vellonix-fuzz-seeds

rm -rf "$build/seeds" "$build/regression" "$build/host-seeds"
mkdir -p "$build/corpus" "$build/host-corpus" "$build/findings"
"$build/fuzz/vellonix-fuzz-seeds" "$build/seeds" "$build/regression" "$build/host-seeds"

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# Scans that are linear in the disk's size handle the slowest regression
# input (seven scans of 3,200 looping chains) in under half a second under
# the sanitizers; scans that walk every chain to its SectorCount take
# fifteen seconds. Nothing a fuzz run makes comes near the limit otherwise.
limits=(-timeout=5 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings/")

# Inputs that once broke a promise, each run once.
"$build/fuzz/vellonix-fuzz-image" "${limits[@]}" "$build"/regression/*

# New inputs go to the corpus folders, kept between runs; the seeds stay as
# generated. Faster inputs get more of the time.
host_seconds=$((seconds / 4))
"$build/fuzz/vellonix-fuzz-image" -max_total_time=$((seconds - host_seconds)) -max_len=65536 "${limits[@]}" \
  -entropic_scale_per_exec_time=1 "$build/corpus" "$build/seeds"
# The host-file target's scratch files go to memory where it can.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
"$build/fuzz/vellonix-fuzz-host" -max_total_time="$host_seconds" "${limits[@]}" "$build/host-corpus" "$build/host-seeds"
