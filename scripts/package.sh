#!/usr/bin/env bash
# Builds the packages people install the program from.
#   scripts/package.sh --deb [OPTIONS]   the Debian package (scripts/package-deb.sh --help)
#   scripts/package.sh --windows         the portable zip and the per-user installer for Windows
#                                        (scripts/package-windows.sh)
set -euo pipefail
scripts="$(cd "$(dirname "$0")" && pwd)"
case "${1:-}" in
  --deb) shift; exec "$scripts/package-deb.sh" "$@" ;;
  --windows) shift; exec "$scripts/package-windows.sh" "$@" ;;
  *) echo "usage: scripts/package.sh --deb [OPTIONS] | --windows" >&2; exit 2 ;;
esac
