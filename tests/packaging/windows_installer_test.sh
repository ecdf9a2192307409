#!/usr/bin/env bash
# The Windows installer under Wine, in a home and prefix of its own: a
# silent install, the installed vellonix-cli.exe, its Start menu entry and
# uninstall entry, then a silent uninstall that must leave no file and no
# registry key of ours, including what the user tied into the desktop.
#   windows_installer_test.sh INSTALLER VERSION
set -euo pipefail
installer=$(realpath "$1")
version=$2

. "$(dirname "$0")/../../scripts/windows-env.sh"
vellonix_wine_prefix

fail() { echo "FAIL: $*" >&2; exit 1; }
# Wine writes its registry to user.reg when the server ends, with doubled
# backslashes and é as \xe9: read back as the values are.
registry() {
  wineserver -w
  sed -e 's/\\\\/\\/g' -e 's/\\xe9/é/g' "$WINEPREFIX/user.reg"
}
uninstall_key='[Software\Microsoft\Windows\CurrentVersion\Uninstall\io.github.vellonix.Vellonix]'
local_data=$(wine cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')
installed="$local_data\\Programs\\SAM Coupé Vellonix"
folder=$(winepath -u "$installed")
entry=$(winepath -u "$(wine cmd /c 'echo %APPDATA%' | tr -d '\r')")"/Microsoft/Windows/Start Menu/Programs/SAM Coupé/SAM Vellonix.lnk"

wine "$installer" /S
for file in vellonix.exe vellonix-cli.exe README.md LICENSE.txt THIRD-PARTY-NOTICES.txt uninstall.exe; do
  [ -f "$folder/$file" ] || fail "the installer left out $file"
done
[ -f "$entry" ] || fail "no Start menu entry: $entry"
answer=$(wine "$folder/vellonix-cli.exe" --version | tr -d '\r')
[ "$answer" = "$version" ] || fail "the installed vellonix-cli.exe says '$answer', not '$version'"
registry | grep -A12 -F "$uninstall_key" >"$wine_home/entry.reg" || fail "no uninstall entry"
for line in '"DisplayName"="SAM Coupé Vellonix"' "\"DisplayVersion\"=\"$version\"" \
            '"Publisher"="The SAM Coupé Vellonix developers"' "\"DisplayIcon\"=\"$installed\\vellonix.exe,0\"" \
            "\"UninstallString\"=\"\\\"$installed\\uninstall.exe\\\"\""; do
  grep -q -F "$line" "$wine_home/entry.reg" || fail "the uninstall entry lacks $line"
done

# What the Options dialog can tie in: the file types and a desktop shortcut.
wine "$folder/vellonix-cli.exe" integration set --mgt on --sad on --desktop on
registry | grep -F '[Software\Classes\diskimage]' >/dev/null || fail "integration set made no file type"

# The uninstaller copies itself away and starts the copy: wait for it.
wine "$folder/uninstall.exe" /S
wineserver -w
left=$(find "$WINEPREFIX/drive_c" \( -iname '*vellonix*' -o -iname 'SAM Coupé' \) | sed 's/^/  /')
[ -z "$left" ] || fail "files left after the uninstall:
$left"
left=$(registry | grep -i -e 'vellonix' -e 'diskimage' -e '^\[Software\\Classes\\\.\(mgt\|sad\)\]' | sed 's/^/  /' || true)
[ -z "$left" ] || fail "registry entries left after the uninstall:
$left"
echo "installed, ran vellonix-cli.exe $answer, and uninstalled without a trace"
