#!/usr/bin/env bash
# Builds the program and starts it on an image: the one given, or the
# bundled sample image the build writes.
#   scripts/run.sh [IMAGE]
# Only what the program needs is built (the program and the sample, in
# Release, in build-run/; the tests and fuzzers are scripts/test.sh's and
# scripts/fuzz.sh's), and the build shows its progress.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-run"
say() { printf '==> %s\n' "$*"; }

say "Checking the Debian packages the program needs"
"$root/scripts/install-deps.sh"

say "Configuring a Release build in ${build#"$root/"}/"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELLONIX_BUILD_TESTS=OFF >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi

say "Building the program and the sample image ($(nproc) jobs at once)"
cmake --build "$build" -j "$(nproc)" --target vellonix vellonix_sample_image

image="${1:-$build/sample/sample.mgt}"
say "Starting vellonix on $image"
exec "$build/ui/qt/vellonix" "$image"
