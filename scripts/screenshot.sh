#!/usr/bin/env bash
# Starts the program on an image under a virtual X display and saves a
# picture of its window.
#   scripts/screenshot.sh [IMAGE] [OUTPUT.png]
# IMAGE defaults to the bundled sample, OUTPUT to docs/main-window.png.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh"
need=()
for tool in xvfb-run:xvfb xauth:xauth import:imagemagick xdotool:xdotool; do
  command -v "${tool%%:*}" >/dev/null || need+=("${tool#*:}")
done
if [ ${#need[@]} -gt 0 ]; then
  SUDO=()
  [ "$(id -u)" -ne 0 ] && SUDO=(sudo)
  DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get install -y --no-install-recommends "${need[@]}"
fi

cmake -S "$root" -B "$root/build" -DVELLONIX_WERROR=ON >/dev/null
cmake --build "$root/build" -j "$(nproc)" --target vellonix vellonix_sample_image >/dev/null

image="${1:-$root/build/sample/sample.mgt}"
output="$(realpath -m "${2:-$root/docs/main-window.png}")"
mkdir -p "$(dirname "$output")"

export VELLONIX_BIN="$root/build/ui/qt/vellonix" VELLONIX_IMAGE="$image" VELLONIX_SHOT="$output"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$VELLONIX_BIN" "$VELLONIX_IMAGE" & program=$!
  trap "kill $program 2>/dev/null || true" EXIT
  for _ in $(seq 50); do
    window=$(xdotool search --name "Vellonix - " 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
  sleep 1  # let the list and icons paint
  import -window "$window" "$VELLONIX_SHOT"
'
echo "Saved $output"
