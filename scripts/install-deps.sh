#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
#   scripts/install-deps.sh            the Linux build
#   scripts/install-deps.sh --windows  the cross build for Windows and Wine
set -euo pipefail

PACKAGES=(
  cmake make g++            # the toolchain
  libgtest-dev              # unit tests
  libcli11-dev              # vellonix-cli's command line
  nlohmann-json3-dev        # vellonix-cli's --json output
  zlib1g-dev libpng-dev     # gzip-compressed images (formats), SCREEN$ pictures as PNG (vellonix-cli)
  qt6-base-dev qt6-svg-dev  # the desktop program (Widgets, SVG icons)
  libqt6svg6                # SVG icons at run time
  clang libclang-rt-14-dev  # the fuzz target (libFuzzer)
  shared-mime-info desktop-file-utils  # installing into the desktop: the MIME and desktop databases
  appstream xdg-utils libfile-mimeinfo-perl groff-base  # the install tests: metainfo, xdg-mime, man pages
)

# The Windows build: mingw-w64 (GCC 12, posix threads), GoogleTest's sources
# to build for it, zlib built for it, and 64-bit Wine to run the tests.
# CLI11 and nlohmann-json are header-only: the packages above serve both
# builds.
WINDOWS_PACKAGES=(
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  googletest
  libz-mingw-w64-dev        # gzip-compressed images (Debian has no libpng for Windows)
  wine wine64
)
if [ "${1:-}" = "--windows" ]; then
  PACKAGES+=("${WINDOWS_PACKAGES[@]}")
fi

missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=()
[ "$(id -u)" -ne 0 ] && SUDO=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
