# Sourced by the scripts that build the Windows programs and run them under
# Wine (packaging, screenshot, benchmark, the installer's test).

# vellonix_windows_build [-DOPTION=VALUE...] TARGET...: the targets of the
# Release cross build in build-windows/, configured here as
# scripts/test.sh --windows does when that has not run yet; the options are
# added to its configuration.
vellonix_windows_build() {
  local root options=()
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  while [[ "${1:-}" == -D* ]]; do
    options+=("$1")
    shift
  done
  if [ ! -f "$root/build-windows/CMakeCache.txt" ]; then
    options+=(--toolchain "$root/cmake/mingw-w64-x86_64.cmake"
              -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG")
  fi
  cmake -S "$root" -B "$root/build-windows" "${options[@]}" >/dev/null
  cmake --build "$root/build-windows" -j "$(nproc)" --target "$@" >/dev/null
}

# vellonix_wine_prefix [--unmanaged]: a home and a Wine prefix made for the
# script and removed when it exits, quiet debug channels, and no menu
# entries, desktop files, .NET or HTML engines. --unmanaged leaves the
# windows to Wine rather than to an X window manager, as on an Xvfb display
# without one (Wine then draws their frames, and hiding a window costs no
# wait), with Wine's fonts.
vellonix_wine_prefix() {
  wine_home=$(mktemp -d -t vellonix-wine.XXXXXX)
  export HOME=$wine_home WINEPREFIX=$wine_home/prefix WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  trap 'wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; rm -rf "$wine_home"' EXIT
  wineboot --init 2>/dev/null
  if [ "${1:-}" = "--unmanaged" ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    # Wine's own fonts (fonts-wine: Tahoma's and the caption buttons'
    # Marlett), which Debian's Wine 8 does not find in its data folder.
    ln -s /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  # The server started here ends with its programs, so that the ones run
  # next start their own, on the display they are given.
  wineserver -w
}
