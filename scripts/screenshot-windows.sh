#!/usr/bin/env bash
# Starts the Windows program under Wine on a virtual X display and saves a
# picture of its window (scripts/screenshot.sh --windows runs this).
#   scripts/screenshot-windows.sh [IMAGE] [OUTPUT.png]
# IMAGE defaults to the sample image of the Windows build, OUTPUT to
# docs/main-window-windows.png. Wine draws the window's frame and caption
# itself, as Windows would, since the display has no window manager.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh" --windows --display
. "$root/scripts/windows-env.sh"
vellonix_windows_build vellonix vellonix_sample_image
build=$root/build-windows
image="$(realpath -m "${1:-$build/sample/sample.mgt}")"
output="$(realpath -m "${2:-$root/docs/main-window-windows.png}")"
mkdir -p "$(dirname "$output")"

vellonix_wine_prefix --unmanaged
export VELLONIX_BIN="$build/ui/win32/vellonix.exe" VELLONIX_IMAGE="$image" VELLONIX_SHOT="$output"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wine "$VELLONIX_BIN" "$(winepath -w "$VELLONIX_IMAGE")" &
  trap "wineserver -k 2>/dev/null || true" EXIT
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name "Vellonix - " 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
  sleep 1  # let the list and icons paint
  import -window "$window" "$VELLONIX_SHOT"
'
echo "Saved $output"
