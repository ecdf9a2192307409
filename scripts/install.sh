#!/usr/bin/env bash
# Builds the program in Release and installs it into the desktop.
#   scripts/install.sh [PREFIX]   (default ~/.local: no root needed)
# Installs vellonix and vellonix-cli into PREFIX/bin, the desktop entry, the
# image types, the icons, the metainfo and the man pages into PREFIX/share,
# and refreshes the MIME and desktop databases there, so that file managers
# open .mgt and .sad files with the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
prefix="$(realpath -m "${1:-$HOME/.local}")"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release -DVELLONIX_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build-release" -j "$(nproc)" >/dev/null
cmake --install "$root/build-release" --prefix "$prefix"

echo "Installed into $prefix"
case ":$PATH:" in
  *":$prefix/bin:"*) ;;
  *) echo "Note: $prefix/bin is not on PATH; the desktop entry starts \"vellonix\" from PATH." \
          "Add it to PATH (a new login does so for ~/.local/bin where it exists)." ;;
esac
