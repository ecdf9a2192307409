#!/usr/bin/env bash
# Packages the build as scripts/package.sh --deb does (lintian must find no
# error), then checks what the package holds: its file list and fields, and
# its extracted tree by the same checks as an installation's.
#   deb_test.sh SOURCE-DIR BUILD-DIR APP-ID
set -euo pipefail
source_dir=$1 build=$2 app=$3

work=$(mktemp -d "${TMPDIR:-/tmp}/vellonix-deb-XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

"$source_dir/scripts/package.sh" --deb --build "$build" --output "$work" || fail "packaging or lintian"
deb=$(echo "$work"/vellonix_*_"$(dpkg --print-architecture)".deb)
[ -f "$deb" ] || { echo "FAILED: no package in $work" >&2; exit 1; }

contents=$(dpkg-deb -c "$deb")
for file in usr/bin/vellonix usr/bin/vellonix-cli "usr/share/applications/$app.desktop" \
            "usr/share/mime/packages/$app.xml" "usr/share/metainfo/$app.metainfo.xml" \
            "usr/share/icons/hicolor/scalable/apps/$app.svg" "usr/share/icons/hicolor/48x48/mimetypes/$app-diskimage-1.png" \
            usr/share/man/man1/vellonix.1.gz usr/share/man/man1/vellonix-cli.1.gz \
            usr/share/doc/vellonix/copyright usr/share/doc/vellonix/changelog.gz \
            usr/share/zsh/vendor-completions/_vellonix-cli; do
  grep -q " \./$file\$" <<<"$contents" || fail "the package lacks /$file"
done
grep -v ' \./usr/' <<<"$contents" | grep -v ' \./$' | grep . && fail "the package has files outside /usr"
grep -v ' root/root ' <<<"$contents" | grep . && fail "the package has files not owned by root"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6svg6 libpng16-16 qt6-qpa-plugins; do
  grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library: $depends"
done

dpkg-deb -x "$deb" "$work/tree"
"$source_dir/tests/install/check_desktop_files.sh" "$work/tree/usr" "$app" || fail "the packaged desktop files"
for licence in MIT BSD-3-clause Expat; do
  grep -q "^License: $licence$" "$work/tree/usr/share/doc/vellonix/copyright" || fail "the copyright file lacks the $licence text"
done

[ "$failures" -eq 0 ] && echo "package checks passed ($(du -h "$deb" | cut -f1))"
exit $((failures != 0))
