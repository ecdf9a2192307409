#!/usr/bin/env bash
# Times vellonix-cli ls with hyperfine, in a release build in build-bench/:
#   1. one ls call over COUNT images against cat of the same files;
#   2. ls of one image against vellonix-bare-read, a program that only reads
#      the image's 819,200 bytes.
#   scripts/bench.sh [COUNT]   (default 1000)
# Figures depend on the machine and on what else it runs: compare the lines
# of one run, not runs on different days.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
command -v hyperfine >/dev/null || { echo "hyperfine is needed: apt-get install hyperfine" >&2; exit 2; }

count="${1:-1000}"
build=build-bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELLONIX_BUILD_TESTS=OFF -DVELLONIX_BUILD_GUI=OFF \
  -DVELLONIX_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target vellonix-cli vellonix-bare-read vellonix_sample_image >/dev/null

cli="$build/cli/vellonix-cli"
bare="$build/bench/vellonix-bare-read"
images="$build/bench-images"
rm -rf "$images"
mkdir -p "$images"
for ((i = 0; i < count; i++)); do cp "$build/sample/sample.mgt" "$(printf '%s/image%04d.mgt' "$images" "$i")"; done

cli="$PWD/$cli"
bare="$PWD/$bare"
cd "$images"
echo "== ls of $count images in one call, against cat of the same files"
hyperfine -N --warmup 3 --runs 20 --export-json ../bench-collection.json \
  -n "ls of $count images" "$cli ls $(echo *.mgt)" -n "cat of $count images" "cat $(echo *.mgt)"

echo "== ls of one image, against a program that only reads it"
hyperfine -N --warmup 20 --runs 500 --export-json ../bench-single.json \
  -n "ls of one image" "$cli ls image0000.mgt" -n "bare read of one image" "$bare image0000.mgt"
