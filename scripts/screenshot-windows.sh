#!/usr/bin/env bash
# Starts the Windows program under Wine on a virtual X display and saves a
# picture of its window (scripts/screenshot.sh --windows runs this).
#   scripts/screenshot-windows.sh [--view ROW] [IMAGE] [OUTPUT.png]
# IMAGE defaults to the sample image of the Windows build, OUTPUT to
# docs/main-window-windows.png. --view ROW opens View File on the list's
# row ROW (from 0) and saves the viewer, by default to
# docs/view-file-windows.png. Wine draws the windows' frames and captions
# itself, as Windows would, since the display has no window manager.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
row=""
if [ "${1:-}" = "--view" ]; then
  row=$2
  shift 2
fi

"$root/scripts/install-deps.sh" --windows --display
. "$root/scripts/windows-env.sh"
vellonix_windows_build vellonix vellonix_sample_image
build=$root/build-windows
image="$(realpath -m "${1:-$build/sample/sample.mgt}")"
default_output=$root/docs/main-window-windows.png
[ -n "$row" ] && default_output=$root/docs/view-file-windows.png
output="$(realpath -m "${2:-$default_output}")"
mkdir -p "$(dirname "$output")"

vellonix_wine_prefix --unmanaged
export VELLONIX_AWAIT="$root/scripts/await-window.sh" VELLONIX_OPEN_VIEWER="$root/scripts/open-viewer.sh"
export VELLONIX_BIN="$build/ui/win32/vellonix.exe" VELLONIX_IMAGE="$image" VELLONIX_SHOT="$output"
export VELLONIX_ROW="$row"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wine "$VELLONIX_BIN" "$(winepath -w "$VELLONIX_IMAGE")" &
  trap "wineserver -k 2>/dev/null || true" EXIT
  window=$("$VELLONIX_AWAIT" "Vellonix - " "the window") || exit 1
  if [ -n "$VELLONIX_ROW" ]; then
    window=$("$VELLONIX_OPEN_VIEWER" "$window" "$VELLONIX_ROW") || exit 1
  fi
  import -window "$window" "$VELLONIX_SHOT"
'
echo "Saved $output"
