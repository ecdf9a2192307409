#!/usr/bin/env bash
# The checks an installation's desktop files must pass, wherever they were
# put (cmake --install, the Debian package): the desktop entry, the
# metainfo, the MIME package (it builds a database, typing files by name
# alone), the shell completions and the man pages.
#   check_desktop_files.sh ROOT APP-ID   (ROOT: the /usr of the tree)
set -uo pipefail
root=$1 app=$2
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

desktop-file-validate "$root/share/applications/$app.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$root/share/metainfo/$app.metainfo.xml" || fail "appstreamcli validate"

mime=$(mktemp -d)
trap 'rm -rf "$mime"' EXIT
mkdir -p "$mime/packages"
cp "$root/share/mime/packages/$app.xml" "$mime/packages/"
update-mime-database "$mime" 2>/dev/null || fail "update-mime-database"
for glob in '*.mgt:application/x-sam-mgt-disk-image' '*.sad:application/x-sam-sad-disk-image'; do
  grep -qxF "50:${glob#*:}:${glob%%:*}" "$mime/globs2" || fail "the MIME database lacks $glob"
done
! grep -qa x-sam "$mime/magic" || fail "the MIME package types files by their contents, not their names"

for completion in bash-completion/completions/vellonix-cli fish/vendor_completions.d/vellonix-cli.fish \
                  zsh/*-*/_vellonix-cli; do
  compgen -G "$root/share/$completion" >/dev/null || fail "no $completion"
done

# The pages are dated like the release, and hold what a reader looks for.
released=$(sed -n 's/.*<release version="[^"]*" date="\([^"]*\)".*/\1/p' "$root/share/metainfo/$app.metainfo.xml")
for page in vellonix vellonix-cli; do
  file="$root/share/man/man1/$page.1"
  [ -f "$file" ] || file="$file.gz"
  warnings=$(zcat -f "$file" | LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 2>&1)
  [ -z "$warnings" ] || fail "$page.1: $warnings"
  zcat -f "$file" | grep -q "^\.TH [^ ]* 1 \"*$released\"* " || fail "$page.1 is not dated $released"
  for section in SYNOPSIS OPTIONS "EXIT STATUS" ENVIRONMENT EXAMPLES; do
    zcat -f "$file" | grep -q "^\.SH \"*$section\"*$" || fail "$page.1 has no $section"
  done
done
exit $((failures != 0))
