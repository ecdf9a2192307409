#!/usr/bin/env bash
# Builds the program and starts it on an image: the one given, or the
# bundled sample image the build writes.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DVELLONIX_WERROR=ON >/dev/null
cmake --build "$root/build" -j "$(nproc)" >/dev/null

image="${1:-$root/build/sample/sample.mgt}"
exec "$root/build/ui/qt/vellonix" "$image"
