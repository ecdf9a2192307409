#!/usr/bin/env bash
# Installs the Debian packages a task needs, when missing.
#   scripts/install-deps.sh            building, installing and running the program
#   scripts/install-deps.sh --tests    and what the tests use (scripts/test.sh)
#   scripts/install-deps.sh --fuzz     and the fuzzing toolchain (scripts/fuzz.sh)
#   scripts/install-deps.sh --package  and the Debian packaging tools (scripts/package.sh --deb)
#   scripts/install-deps.sh --windows  and the cross build for Windows, and Wine
#   scripts/install-deps.sh --display  and a virtual X display and pictures of it
#                                      (scripts/screenshot.sh, scripts/bench-windows.sh)
#   scripts/install-deps.sh --bench    and the benchmarks' tools (scripts/bench.sh)
# The options combine.
set -euo pipefail

# Building, installing and running: scripts/run.sh and scripts/install.sh.
BUILD_PACKAGES=(
  cmake make g++            # the toolchain
  libcli11-dev              # vellonix-cli's command line
  nlohmann-json3-dev        # vellonix-cli's --json output
  zlib1g-dev libpng-dev     # gzip-compressed images (formats), SCREEN$ pictures as PNG (vellonix-cli)
  qt6-base-dev qt6-svg-dev  # the desktop program (Widgets, SVG icons)
  libqt6svg6                # SVG icons at run time
  shared-mime-info desktop-file-utils  # installing: the MIME and desktop databases refreshed
)

# The tests: GoogleTest, and the desktop's own tools that check what an
# installation, a package and the Options boxes leave behind.
TEST_PACKAGES=(
  libgtest-dev
  xdg-utils libfile-mimeinfo-perl libglib2.0-bin  # xdg-mime, gio: what the desktop opens a file with
  groff-base                                      # the man pages, checked for warnings
  bash-completion zsh fish                        # the shell completions, tried in each shell
)
VALIDATOR_PACKAGES=(
  desktop-file-utils  # desktop-file-validate
  appstream           # appstreamcli validate: the metainfo
)

# Fuzzing: clang and libFuzzer.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

# The Debian package: dpkg-shlibdeps and dpkg-deb, and lintian to check it.
PACKAGING_PACKAGES=(dpkg-dev lintian)

# The Windows build: mingw-w64 (GCC 12, posix threads), GoogleTest's sources
# to build for it, zlib built for it, and 64-bit Wine to run the tests.
# CLI11 and nlohmann-json are header-only: the packages above serve both
# builds.
WINDOWS_PACKAGES=(
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  googletest
  libz-mingw-w64-dev        # gzip-compressed images (formats)
  librsvg2-bin icoutils     # the program's icons, drawn from the SVGs into .ico files
  nsis zip                  # scripts/package-windows.sh: the installer and the portable zip
  wine wine64
  xvfb xauth                # the Win32 windows' tests on a virtual display
)

# Programs shown on a virtual X display, found and pictured there.
DISPLAY_PACKAGES=(xvfb xauth imagemagick xdotool fonts-wine)

# The benchmarks, which CI does not run: timing, instruction counts, the
# most memory taken, and hyperfine's results read back.
BENCH_PACKAGES=(hyperfine valgrind time jq)

PACKAGES=("${BUILD_PACKAGES[@]}")
for option in "$@"; do
  case "$option" in
    --tests) PACKAGES+=("${TEST_PACKAGES[@]}" "${VALIDATOR_PACKAGES[@]}" "${PACKAGING_PACKAGES[@]}") ;;
    --fuzz) PACKAGES+=("${FUZZ_PACKAGES[@]}") ;;
    --package) PACKAGES+=("${PACKAGING_PACKAGES[@]}" "${VALIDATOR_PACKAGES[@]}") ;;
    --windows) PACKAGES+=("${WINDOWS_PACKAGES[@]}") ;;
    --display) PACKAGES+=("${DISPLAY_PACKAGES[@]}") ;;
    --bench) PACKAGES+=("${BENCH_PACKAGES[@]}") ;;
    *) echo "usage: scripts/install-deps.sh [--tests] [--fuzz] [--package] [--windows] [--display] [--bench]" >&2
       exit 2 ;;
  esac
done

missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    [[ " ${missing[*]} " == *" $package "* ]] || missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=()
[ "$(id -u)" -ne 0 ] && SUDO=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
