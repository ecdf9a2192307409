#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
#   scripts/install-deps.sh            the Linux build
#   scripts/install-deps.sh --windows  the cross build for Windows and Wine
#   scripts/install-deps.sh --display  also a virtual X display and its
#                                      pictures (screenshots, benchmarks)
set -euo pipefail

PACKAGES=(
  cmake make g++            # the toolchain
  libgtest-dev              # unit tests
  libcli11-dev              # vellonix-cli's command line
  nlohmann-json3-dev        # vellonix-cli's --json output
  zlib1g-dev libpng-dev     # vellonix-cli: gzip-compressed images, SCREEN$ pictures as PNG
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
  libz-mingw-w64-dev        # vellonix-cli's gzip import (Debian has no libpng for Windows)
  librsvg2-bin icoutils     # the program's icons, drawn from the SVGs into .ico files
  nsis zip                  # scripts/package-windows.sh: the installer and the portable zip
  wine wine64
  xvfb xauth                # the Win32 windows' tests on a virtual display
)
# Programs shown on a virtual X display, found and pictured there.
DISPLAY_PACKAGES=(xvfb xauth imagemagick xdotool fonts-wine)
for set in "$@"; do
  case "$set" in
    --windows) PACKAGES+=("${WINDOWS_PACKAGES[@]}") ;;
    --display) PACKAGES+=("${DISPLAY_PACKAGES[@]}") ;;
    *) echo "usage: scripts/install-deps.sh [--windows] [--display]" >&2; exit 2 ;;
  esac
done

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
