#!/usr/bin/env bash
# Installs the build into temporary prefixes and checks what the desktop
# makes of it, with HOME and the XDG folders all temporary:
#   1. a packager's install (DESTDIR: files only), checked by the desktop's
#      validators;
#   2. the Options boxes (vellonix-cli integration set) each turned over and
#      back with nothing installed, after a per-user install and after one
#      for the system (a prefix on XDG_DATA_DIRS), each install then taken
#      out by scripts/install.sh --uninstall: the home and the prefix end
#      as they began, byte for byte, and the desktop types files as before.
#   install_test.sh SOURCE-DIR BUILD-DIR APP-ID SAMPLE-IMAGE
set -euo pipefail
source_dir=$1 build=$2 app=$3 sample=$4

work=$(mktemp -d "${TMPDIR:-/tmp}/vellonix-install-XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME="$work/home"
export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$work/cache"
export XDG_DATA_DIRS=/usr/share XDG_CONFIG_DIRS="$work/etc"
unset XDG_CURRENT_DESKTOP DESTDIR
base_path=$PATH

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
  for icon in "apps/$app" mimetypes/application-x-sam-mgt-disk-image mimetypes/application-x-sam-sad-disk-image \
              "mimetypes/$app-diskimage-1" "mimetypes/$app-diskimage-2"; do
    png="$stage/share/icons/hicolor/${size}x$size/$icon.png"
    if [ -s "$png" ]; then expect "$icon.png at $size" "${size}x$size" "$(png_size "$png")"; else fail "$png missing"; fi
  done
done
[ ! -e "$stage/share/mime/mime.cache" ] || fail "a DESTDIR install built the MIME database"
[ ! -e "$stage/share/applications/mimeinfo.cache" ] || fail "a DESTDIR install built the desktop database"
"$source_dir/tests/install/check_desktop_files.sh" "$stage" "$app" || fail "the installed desktop files"

echo "== the Options boxes with nothing installed, then installed per user and for the system"
# The state of every part of the desktop the boxes and the installs touch.
snapshot() {
  for folder in "$@"; do
    [ -d "$folder" ] || continue
    (cd "$folder" && find . -printf '%y %m %p\n' | sort && find . -type f -exec sha256sum {} + | sort -k2)
  done
}
# What the desktop opens the image files with: their types and defaults.
# gio words its answer by the locale (its quotes become "?" under C).
queries() {
  for file in x.mgt y.sad; do
    type=$(xdg-mime query filetype "$work/files/$file")
    echo "$file: $type, $(LC_ALL=C.UTF-8 LANGUAGE= gio mime "$type" 2>&1 | head -n1)"
  done
}
mkdir -p "$work/files" "$HOME/Desktop" "$XDG_CONFIG_HOME"
cp "$sample" "$work/files/x.mgt"
"$build/cli/vellonix-cli" convert "$work/files/x.mgt" "$work/files/y.sad"
# Another program's lines, the last one without its closing semicolon.
printf '# mine\n[Default Applications]\ntext/plain=other.desktop;\napplication/x-sam-sad-disk-image=other.desktop\n' \
  >"$XDG_CONFIG_HOME/mimeapps.list"

# A box as vellonix-cli shows it: "true", "false", or nothing when it
# cannot be changed here.
box_state() {
  local json
  json=$("$1" integration --json)
  case $2 in
    mgt | sad) grep -o "\"$2\":{\"on\":[a-z]*" <<<"$json" | sed 's/.*://' || true ;;
    *) grep -o "\"key\":\"$2\",\"caption\":\"[^\"]*\",\"on\":[a-z]*,\"available\":true" <<<"$json" |
         sed 's/.*"on":\([a-z]*\).*/\1/' || true ;;
  esac
  return 0
}
# Each box that can be changed, turned over and back through vellonix-cli.
turn_boxes() {
  local cli=$1 box state
  for box in mgt sad desktop start-menu send-to program-group; do
    state=$(box_state "$cli" "$box")
    [ -n "$state" ] || continue
    local turned=on back=off shown=true
    [ "$state" = true ] && turned=off back=on shown=false
    "$cli" integration set "--$box" "$turned" || fail "$box $turned"
    expect "$box after --$box $turned" "$shown" "$(box_state "$cli" "$box")"
    "$cli" integration set "--$box" "$back" || fail "$box $back"
  done
}

for setup in nothing per-user system; do
  echo "-- $setup"
  case $setup in
    nothing) prefix="$work/portable" ;;
    per-user) prefix="$HOME/.local" ;;
    system) prefix="$work/system"; export XDG_DATA_DIRS="$prefix/share:/usr/share" ;;
  esac
  export PATH="$prefix/bin:$base_path"
  before=$(snapshot "$HOME" "$work/system")
  queries_before=$(queries)
  if [ $setup = nothing ]; then
    mkdir -p "$prefix/bin"
    cp "$build/cli/vellonix-cli" "$build/ui/qt/vellonix" "$prefix/bin/"
  else
    "$source_dir/scripts/install.sh" --build "$build" "$prefix" >/dev/null
    expect "$setup: x.mgt after the install" "x.mgt: application/x-sam-mgt-disk-image, Default application for “application/x-sam-mgt-disk-image”: $app.desktop" \
      "$(queries | head -n1)"
  fi
  turn_boxes "$prefix/bin/vellonix-cli"
  if [ $setup = nothing ]; then
    rm -rf "$prefix"
  else
    "$source_dir/scripts/install.sh" --uninstall "$prefix" >/dev/null
  fi
  after=$(snapshot "$HOME" "$work/system")
  [ "$before" = "$after" ] || fail "$setup: the home or the prefix changed: $(diff <(echo "$before") <(echo "$after") | head -n 20)"
  expect "$setup: what the desktop makes of the files" "$queries_before" "$(queries)"
done

echo "== only .mgt and .sad names are the program's"
"$source_dir/scripts/install.sh" --build "$build" "$HOME/.local" >/dev/null
cp "$work/files/y.sad" "$work/files/x.bin"
expect "y.sad" application/x-sam-sad-disk-image "$(xdg-mime query filetype "$work/files/y.sad")"
expect "X.MGT" application/x-sam-mgt-disk-image "$(cd "$work/files" && cp x.mgt X.MGT && xdg-mime query filetype X.MGT)"
[ "$(xdg-mime query filetype "$work/files/x.bin")" != application/x-sam-sad-disk-image ] ||
  fail "x.bin with a SAD header is offered to the program, which would refuse it"

[ "$failures" -eq 0 ] && echo "install checks passed"
exit $((failures != 0))
