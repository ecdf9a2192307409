#!/usr/bin/env bash
# Opens View File on row ROW of the program's window WINDOW (Down ROW
# times, then Enter), waits for the viewer and prints its id; the
# screenshot scripts use it.
#   scripts/open-viewer.sh WINDOW ROW
set -uo pipefail
xdotool windowfocus --sync "$1" 2>/dev/null || true
for _ in $(seq "$2"); do xdotool key Down; done
xdotool key Return
exec "$(dirname "$0")/await-window.sh" "\\(File # [0-9]+\\)\$" "the viewer"
