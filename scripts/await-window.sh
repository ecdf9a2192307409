#!/usr/bin/env bash
# Waits (up to 20 seconds) for a visible window on the display whose name
# matches PATTERN (a regular expression), lets it paint, and prints its id;
# fails naming WHAT when none comes. The screenshot scripts use it.
#   scripts/await-window.sh PATTERN WHAT
set -uo pipefail
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "$2 did not appear" >&2; exit 1; }
sleep 1
echo "$window"
