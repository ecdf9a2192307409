#!/usr/bin/env bash
# Builds the packages people install the program from.
#   scripts/package.sh --deb [OPTIONS]   the Debian package (scripts/package-deb.sh --help)
set -euo pipefail
scripts="$(cd "$(dirname "$0")" && pwd)"
case "${1:-}" in
  --deb) shift; exec "$scripts/package-deb.sh" "$@" ;;
  *) echo "usage: scripts/package.sh --deb [OPTIONS]" >&2; exit 2 ;;
esac
