#!/usr/bin/env bash
# Builds the project and runs every test through ctest.
#   scripts/test.sh             the normal build, in build/
#   scripts/test.sh --sanitize  AddressSanitizer and UBSan, in build-sanitize/
#   scripts/test.sh --windows   everything but the Qt program cross-built for
#                               64-bit Windows with mingw-w64, in build-windows/
#                               (the Win32 program in its place), and its tests
#                               run under Wine on a virtual display; then the
#                               Windows packages, and the installer installed
#                               and uninstalled under Wine
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
    options+=(--toolchain cmake/mingw-w64-x86_64.cmake
              -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG"
              -DVELLONIX_LINUX_CLI="$PWD/build/cli/vellonix-cli")
    # Wine gets a home and a prefix of its own for this run, removed at the
    # end; it must not add menu entries or desktop files, nor install its
    # .NET and HTML engines, and its debug channels stay quiet.
    export CCACHE_DIR="${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/ccache}"
    wine_home=$(mktemp -d -t vellonix-wine.XXXXXX)
    export HOME=$wine_home WINEPREFIX=$wine_home/prefix WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    # Wine reads the command lines and file names it hands to the programs
    # in the Linux locale's encoding: under C or POSIX, a name outside ASCII
    # reaches the program garbled. The tests use such names.
    export LC_ALL=C.UTF-8
    # The windows' tests run on a virtual display with a second prefix set
    # to 144 dpi (Wine takes the DPI from the prefix's registry); that one
    # is made while the build runs.
    export VELLONIX_WINEPREFIX_144DPI=$wine_home/prefix-144dpi
    trap 'for prefix in "$WINEPREFIX" "$VELLONIX_WINEPREFIX_144DPI"; do
            WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; WINEPREFIX=$prefix wineserver -w 2>/dev/null || true
          done; rm -rf "$wine_home"' EXIT
    wineboot --init
    # Without a window manager Wine waits two seconds on every hidden
    # window unless it leaves the windows unmanaged.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    bash tests/ui/win32/run_at_dpi.sh 144 wine &
    prepared=$!
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
if [ "$build" = build-windows ]; then
  wait "$prepared"
  # The tests get a Wine server that stays up for all of them (one that is
  # ending as a test starts turns the test away), started afresh on the
  # virtual display once the build's Wine processes have ended. A first
  # program that asks for the desktop starts Wine's own background
  # processes (services, the desktop's), so that none of them holds a
  # test's output open for as long as the server runs.
  wineserver -w
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
    'wineserver -p && wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 && exec "$@"' ctest \
    ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 300
  scripts/package-windows.sh
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  tests/packaging/windows_installer_test.sh "$build/packages/vellonix-$version-setup-x64.exe" "$version"
else
  ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 300
fi
