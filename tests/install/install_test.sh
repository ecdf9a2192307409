#!/usr/bin/env bash
# Installs the build into temporary prefixes and checks what the desktop
# makes of it: a packager's install (DESTDIR: files only), then a user's
# (databases refreshed), with HOME and the XDG folders all temporary.
#   install_test.sh BUILD-DIR APP-ID SAMPLE-IMAGE VELLONIX-CLI
set -euo pipefail
build=$1 app=$2 sample=$3 cli=$4

work=$(mktemp -d "${TMPDIR:-/tmp}/vellonix-install-XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME="$work/home"
export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache"
export XDG_DATA_DIRS=/usr/local/share:/usr/share
unset XDG_CURRENT_DESKTOP DESTDIR
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"

failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
expect() {  # expect WHAT EXPECTED ACTUAL
  [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"
}
# The width and height a PNG file's header gives.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8 }'; }

echo "== a packager's install (DESTDIR)"
DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >/dev/null
stage="$work/stage/usr"
for file in bin/vellonix bin/vellonix-cli "share/applications/$app.desktop" "share/mime/packages/$app.xml" \
            "share/metainfo/$app.metainfo.xml" share/man/man1/vellonix.1 share/man/man1/vellonix-cli.1 \
            "share/icons/hicolor/scalable/apps/$app.svg" \
            share/icons/hicolor/scalable/mimetypes/application-x-sam-mgt-disk-image.svg \
            share/icons/hicolor/scalable/mimetypes/application-x-sam-sad-disk-image.svg; do
  [ -s "$stage/$file" ] || fail "$file is not installed"
done
for size in 16 22 24 32 48 64 128 256; do
  for icon in "apps/$app" mimetypes/application-x-sam-mgt-disk-image mimetypes/application-x-sam-sad-disk-image; do
    png="$stage/share/icons/hicolor/${size}x$size/$icon.png"
    if [ -s "$png" ]; then expect "$icon.png at $size" "${size}x$size" "$(png_size "$png")"; else fail "$png missing"; fi
  done
done
[ ! -e "$stage/share/mime/mime.cache" ] || fail "a DESTDIR install built the MIME database"
[ ! -e "$stage/share/applications/mimeinfo.cache" ] || fail "a DESTDIR install built the desktop database"

desktop-file-validate "$stage/share/applications/$app.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$stage/share/metainfo/$app.metainfo.xml" || fail "appstreamcli validate"
for page in vellonix vellonix-cli; do
  warnings=$(LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 "$stage/share/man/man1/$page.1" 2>&1)
  [ -z "$warnings" ] || fail "$page.1: $warnings"
done

echo "== a user's install (databases refreshed)"
prefix="$HOME/.local"
cmake --install "$build" --prefix "$prefix" >/dev/null
[ -s "$XDG_DATA_HOME/mime/mime.cache" ] || fail "the MIME database was not refreshed"
grep -q "application/x-sam-mgt-disk-image=$app.desktop" "$XDG_DATA_HOME/applications/mimeinfo.cache" ||
  fail "the desktop database does not offer $app.desktop"

cd "$work"
cp "$sample" x.mgt
"$cli" convert x.mgt y.sad
cp y.sad backup  # no extension: known by the signature the program writes
expect "x.mgt" application/x-sam-mgt-disk-image "$(xdg-mime query filetype x.mgt)"
expect "y.sad" application/x-sam-sad-disk-image "$(xdg-mime query filetype y.sad)"
expect "SAD without extension" application/x-sam-sad-disk-image "$(xdg-mime query filetype backup)"

xdg-mime default "$app.desktop" application/x-sam-mgt-disk-image application/x-sam-sad-disk-image
for type in application/x-sam-mgt-disk-image application/x-sam-sad-disk-image; do
  expect "default for $type" "$app.desktop" "$(xdg-mime query default "$type")"
done
grep -q "$app.desktop" "$XDG_CONFIG_HOME/mimeapps.list" || fail "the default was not written to the temporary home"

[ "$failures" -eq 0 ] && echo "install checks passed"
exit $((failures != 0))
