#!/usr/bin/env bash
# Builds the project and runs every test through ctest.
#   scripts/test.sh             the normal build, in build/
#   scripts/test.sh --sanitize  AddressSanitizer and UBSan, in build-sanitize/
#   scripts/test.sh --windows   every target without Qt cross-built for 64-bit
#                               Windows with mingw-w64, in build-windows/, and
#                               its tests run under Wine
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
options=(-DVELLONIX_WERROR=ON)
case "${1:-}" in
  --sanitize)
    scripts/install-deps.sh --tests
    build=build-sanitize
    options+=(-DVELLONIX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
    # Any report fails the run.
    export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
    ;;
  --windows)
    scripts/install-deps.sh --tests --windows
    # The Linux vellonix-cli, which a test compares the Windows one with.
    [ -f build/CMakeCache.txt ] || cmake -S . -B build -DVELLONIX_WERROR=ON
    cmake --build build -j "$(nproc)" --target vellonix-cli
    build=build-windows
    # No debug information: the static executables link much faster without.
    options+=(--toolchain cmake/mingw-w64-x86_64.cmake -DVELLONIX_BUILD_GUI=OFF
              -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG"
              -DVELLONIX_LINUX_CLI="$PWD/build/cli/vellonix-cli")
    # Wine gets a home and a prefix of its own for this run, removed at the
    # end; it must not add menu entries or desktop files, nor install its
    # .NET and HTML engines, and its debug channels stay quiet.
    export CCACHE_DIR="${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/ccache}"
    wine_home=$(mktemp -d -t vellonix-wine.XXXXXX)
    export HOME=$wine_home WINEPREFIX=$wine_home/prefix WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    trap 'wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; rm -rf "$wine_home"' EXIT
    wineboot --init
    ;;
  "")
    scripts/install-deps.sh --tests
    ;;
  *)
    echo "usage: scripts/test.sh [--sanitize | --windows]" >&2
    exit 2
    ;;
esac

cmake -S . -B "$build" "${options[@]}"
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 300
