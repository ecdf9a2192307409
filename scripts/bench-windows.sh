#!/usr/bin/env bash
# Times the Windows program's first window under Wine on a virtual X
# display, against an empty Win32 window (bench/empty_window_win32.cpp):
# from CreateProcess until a visible window waits for input, each run
# ending the program (bench/first_window_win32.cpp). The two alternate run
# after run; the program starts once without an image and once on the
# sample image. Uses the Release cross build in build-windows/.
#   scripts/bench-windows.sh [RUNS]   (default 30)
# Figures depend on the machine and on what else it runs: compare the lines
# of one run, not runs on different days.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-30}"

scripts/install-deps.sh --windows --display
. scripts/windows-env.sh
vellonix_windows_build -DVELLONIX_BUILD_BENCH=ON vellonix vellonix-empty-window vellonix-first-window \
  vellonix_sample_image
build=build-windows
vellonix_wine_prefix --unmanaged
program=$(winepath -w "$PWD/$build/ui/win32/vellonix.exe")
empty=$(winepath -w "$PWD/$build/bench/vellonix-empty-window.exe")
sample=$(winepath -w "$PWD/$build/sample/sample.mgt")
xvfb-run -a -s "-screen 0 1024x768x24" \
  wine "$build/bench/vellonix-first-window.exe" "$runs" "\"$empty\"" "\"$program\"" "\"$program\" \"$sample\"" |
  tr -d '\r'
ls -l "$build/ui/win32/vellonix.exe" "$build/cli/vellonix-cli.exe" "$build/bench/vellonix-empty-window.exe"
