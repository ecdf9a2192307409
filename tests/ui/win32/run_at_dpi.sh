#!/usr/bin/env bash
# Runs a Windows program under Wine on a screen of DPI dots per inch:
#   run_at_dpi.sh DPI WINE [PROGRAM [ARGUMENT...]]
# Without a program it only prepares the prefix.
# Wine reads the DPI from its prefix's registry, which every program of the
# prefix shares, so the program runs in a prefix of its own: the one
# VELLONIX_WINEPREFIX_<DPI>DPI names (scripts/test.sh --windows prepares it
# while the build runs), made here when it is not there yet.
set -euo pipefail
dpi=$1 wine=$2
shift 2
variable=VELLONIX_WINEPREFIX_${dpi}DPI
prefix=${!variable:-${WINEPREFIX:-$HOME/.wine}-${dpi}dpi}
export WINEPREFIX=$prefix VELLONIX_TEST_DPI=$dpi
if [ ! -f "$prefix/.vellonix-dpi" ]; then
  wineboot --init >/dev/null 2>&1
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$prefix/.vellonix-dpi"
fi
[ $# -eq 0 ] || exec "$wine" "$@"
