#!/usr/bin/env bash
# The Windows packages, from the cross build in build-windows/ (configured
# when scripts/test.sh --windows has not done it yet):
#   build-windows/packages/vellonix-VERSION-windows-x64.zip
#       portable: vellonix.exe, vellonix-cli.exe, README.md, LICENSE.txt and
#       THIRD-PARTY-NOTICES.txt
#   build-windows/packages/vellonix-VERSION-setup-x64.exe
#       the per-user installer (packaging/windows/vellonix.nsi, NSIS)
#   scripts/package-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 0 ] || { echo "usage: scripts/package-windows.sh" >&2; exit 2; }

scripts/install-deps.sh --windows
. scripts/windows-env.sh
vellonix_windows_build vellonix vellonix-cli
build=build-windows

version=$(sed -n 's/^!define VELLONIX_VERSION "\(.*\)"$/\1/p' "$build/ui/resources/vellonix_version.nsh")
[ -n "$version" ] || { echo "no version in $build/ui/resources/vellonix_version.nsh" >&2; exit 1; }
out=$PWD/$build/packages
name=vellonix-$version-windows-x64
files=$out/$name
rm -rf "$out"
mkdir -p "$files"

# The executables without their symbol tables, which only a debugger reads.
x86_64-w64-mingw32-strip -o "$files/vellonix.exe" "$build/ui/win32/vellonix.exe"
x86_64-w64-mingw32-strip -o "$files/vellonix-cli.exe" "$build/cli/vellonix-cli.exe"
# Only libraries every Windows has may be asked for: anything else would
# have to travel with the programs, and nothing here ships a DLL.
for exe in "$files"/*.exe; do
  unexpected=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z' |
    grep -vxE '(advapi32|comctl32|comdlg32|gdi32|kernel32|msvcrt|ole32|oleaut32|shell32|shlwapi|user32|windowscodecs)\.dll' |
    tr '\n' ' ' || true)
  if [ -n "$unexpected" ]; then
    echo "$(basename "$exe") needs DLLs Windows does not have: $unexpected" >&2
    exit 1
  fi
done
cp README.md "$files/README.md"
cp LICENSE "$files/LICENSE.txt"
# The executables carry the code of these libraries, compiled or linked in
# statically; their notices go with them, as Debian ships them.
{
  echo "SAM Coupé Vellonix for Windows carries the code of the libraries below,"
  echo "compiled or statically linked in. Their copyright notices and licences follow."
  for part in "CLI11 (vellonix-cli.exe):libcli11-dev" "nlohmann-json (vellonix-cli.exe):nlohmann-json3-dev" \
              "zlib (both programs):libz-mingw-w64" \
              "the mingw-w64 runtime and winpthreads (both programs):mingw-w64-x86-64-dev"; do
    printf '\n==== %s\n\n' "${part%%:*}"
    cat "/usr/share/doc/${part##*:}/copyright"
  done
} >"$files/THIRD-PARTY-NOTICES.txt"

(cd "$out" && zip -q -r -X -9 "$name.zip" "$name")
makensis -V2 -INPUTCHARSET UTF8 -DVELLONIX_NSH="$PWD/$build/ui/resources/vellonix_version.nsh" \
  -DVELLONIX_FILES="$files" -DVELLONIX_ICON="$PWD/$build/ui/resources/icons/program.ico" \
  -DVELLONIX_OUTFILE="$out/vellonix-$version-setup-x64.exe" packaging/windows/vellonix.nsi

ls -l "$files"/*.exe "$out"/*.zip "$out"/*.exe
