#!/usr/bin/env bash
# Starts the program on an image under a virtual X display and saves a
# picture of its window.
#   scripts/screenshot.sh [--options | --view ROW] [IMAGE] [OUTPUT.png]
#   scripts/screenshot.sh --windows [--view ROW] [IMAGE] [OUTPUT.png]
# IMAGE defaults to the bundled sample, OUTPUT to docs/main-window.png.
# --options opens the Options dialog (in a temporary home with a desktop
# folder, so that it shows a desktop with nothing registered) and saves
# that instead, by default to docs/options-dialog.png. --view ROW opens
# View File on the list's row ROW (from 0) and saves the viewer, by
# default to docs/view-file.png. --windows shows the Windows program under
# Wine instead (scripts/screenshot-windows.sh), by default in
# docs/main-window-windows.png, or docs/view-file-windows.png with --view.
set -euo pipefail
[ "${1:-}" = "--windows" ] && { shift; exec "$(dirname "$0")/screenshot-windows.sh" "$@"; }
root="$(cd "$(dirname "$0")/.." && pwd)"
dialog=""
row=""
if [ "${1:-}" = "--options" ]; then
  dialog=Options
  shift
elif [ "${1:-}" = "--view" ]; then
  row=$2
  shift 2
fi

"$root/scripts/install-deps.sh" --tests
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
default_output=$root/docs/main-window.png
[ -n "$dialog" ] && default_output=$root/docs/options-dialog.png
[ -n "$row" ] && default_output=$root/docs/view-file.png
output="$(realpath -m "${2:-$default_output}")"
mkdir -p "$(dirname "$output")"

export VELLONIX_AWAIT="$root/scripts/await-window.sh" VELLONIX_OPEN_VIEWER="$root/scripts/open-viewer.sh"
export VELLONIX_BIN="$root/build/ui/qt/vellonix" VELLONIX_IMAGE="$image" VELLONIX_SHOT="$output"
export VELLONIX_DIALOG="$dialog" VELLONIX_ROW="$row"
if [ -n "$dialog" ]; then
  home=$(mktemp -d)
  trap 'rm -rf "$home"' EXIT
  mkdir -p "$home/Desktop"  # as every desktop session has
  export HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config
fi
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$VELLONIX_BIN" "$VELLONIX_IMAGE" & program=$!
  trap "kill $program 2>/dev/null || true" EXIT
  window=$("$VELLONIX_AWAIT" "Vellonix - " "the window") || exit 1
  if [ -n "$VELLONIX_DIALOG" ]; then
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key alt+o
    window=$("$VELLONIX_AWAIT" "^$VELLONIX_DIALOG\$" "the $VELLONIX_DIALOG dialog") || exit 1
  elif [ -n "$VELLONIX_ROW" ]; then
    window=$("$VELLONIX_OPEN_VIEWER" "$window" "$VELLONIX_ROW") || exit 1
  fi
  import -window "$window" "$VELLONIX_SHOT"
'
echo "Saved $output"
