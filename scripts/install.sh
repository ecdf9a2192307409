#!/usr/bin/env bash
# Installs the program into the desktop, or takes it out again.
#   scripts/install.sh [PREFIX]              build in Release (build-release/) and install
#   scripts/install.sh --build DIR [PREFIX]  install what DIR has built already
#   scripts/install.sh --uninstall [PREFIX]  remove exactly what the install put there
# PREFIX defaults to ~/.local (no root needed). Installs vellonix and
# vellonix-cli into PREFIX/bin, the desktop entry, the image types, the
# icons, the metainfo, the man pages and the shell completions into
# PREFIX/share, and refreshes the MIME, desktop and icon databases there, so
# that file managers open .mgt and .sad files with the program.
#
# What an install put there (its files, the folders it made, the databases
# it started) is listed in PREFIX/share/vellonix/install-manifest.txt, kept
# with the installation so that each prefix has its own.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
say() { printf '==> %s\n' "$*"; }
usage() { echo "usage: scripts/install.sh [--build DIR] [PREFIX] | --uninstall [PREFIX]" >&2; exit 2; }

mode=install build=""
case "${1:-}" in
  --uninstall) mode=uninstall; shift ;;
  --build) [ $# -ge 2 ] || usage; build="$(realpath "$2")"; shift 2 ;;
  -*) usage ;;
esac
[ $# -le 1 ] || usage
prefix="$(realpath -m "${1:-$HOME/.local}")"
share="$prefix/share"
manifest="$share/vellonix/install-manifest.txt"
# What update-mime-database writes beside the packages it reads.
mime_database=(XMLnamespaces aliases generic-icons globs globs2 icons magic mime.cache subclasses treemagic types version)

refresh_databases() {
  if [ -d "$share/mime/packages" ] && command -v update-mime-database >/dev/null; then
    update-mime-database "$share/mime" >/dev/null 2>&1 || true
  fi
  if [ -d "$share/applications" ] && command -v update-desktop-database >/dev/null; then
    update-desktop-database -q "$share/applications" || true
  fi
  if [ -f "$share/icons/hicolor/icon-theme.cache" ] && command -v gtk-update-icon-cache >/dev/null; then
    gtk-update-icon-cache -q -t -f "$share/icons/hicolor" || true
  fi
}

# A database the install started goes when nothing it describes is left.
remove_database() {
  case "$1" in
    "$share/mime/mime.cache")
      compgen -G "$share/mime/packages/*.xml" >/dev/null && return
      for name in "${mime_database[@]}"; do rm -f "$share/mime/$name"; done
      find "$share/mime" -mindepth 2 -maxdepth 2 -name '*.xml' -not -path "$share/mime/packages/*" -delete
      find "$share/mime" -mindepth 1 -maxdepth 1 -type d -empty -delete ;;
    "$share/applications/mimeinfo.cache")
      [ "$(grep -cv '^\s*$' "$1" 2>/dev/null)" = 1 ] && rm -f "$1" ;;
  esac
  return 0
}

if [ "$mode" = uninstall ]; then
  [ -f "$manifest" ] || { echo "No installation of vellonix in $prefix: $manifest is missing" >&2; exit 1; }
  say "Removing the installation in $prefix"
  mapfile -t entries <"$manifest"
  for entry in "${entries[@]}"; do
    [ "${entry%% *}" = file ] && rm -f "${entry#* }"
  done
  rm -f "$manifest"
  say "Refreshing the desktop's databases"
  refresh_databases
  for entry in "${entries[@]}"; do
    [ "${entry%% *}" = database ] && remove_database "${entry#* }"
  done
  # Deepest first, and only when nothing else was put there.
  for entry in "${entries[@]}"; do
    [ "${entry%% *}" = folder ] && echo "${entry#* }"
  done | sort -r | while read -r folder; do rmdir "$folder" 2>/dev/null || true; done
  say "Removed vellonix from $prefix"
  exit 0
fi

if [ -z "$build" ]; then
  build="$root/build-release"
  say "Checking the Debian packages the program needs"
  "$root/scripts/install-deps.sh"
  say "Configuring a Release build in ${build#"$root/"}/"
  log=$(mktemp)
  if ! cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELLONIX_BUILD_TESTS=OFF >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
  fi
  rm -f "$log"
  say "Building ($(nproc) jobs at once)"
  cmake --build "$build" -j "$(nproc)"
fi

# The folders the install will make: those of a staged copy that the
# prefix lacks. A reinstall keeps the ones the first install made.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" >/dev/null
new_folders=()
while read -r folder; do
  [ -d "$folder" ] || new_folders+=("folder $folder")
done < <(cd "$stage" && find ".$prefix" -type d | sed 's|^\.||')
[ -d "$share/vellonix" ] || new_folders+=("folder $share/vellonix")
folder="$prefix"
while [ ! -d "$folder" ]; do
  new_folders+=("folder $folder")
  folder=$(dirname "$folder")
done
old=()
[ -f "$manifest" ] && mapfile -t old < <(grep -v '^file ' "$manifest")
databases=()
for database in "$share/mime/mime.cache" "$share/applications/mimeinfo.cache"; do
  [ -e "$database" ] || databases+=("database $database")
done

say "Installing into $prefix"
if ! cmake --install "$build" --prefix "$prefix" >"$stage/install.log" 2>&1; then
  cat "$stage/install.log" >&2
  exit 1
fi
grep -v '^-- \(Install configuration\|Installing\|Up-to-date\): ' "$stage/install.log" || true

# Files the previous install had and this one has not.
installed=$(sed 's|^|file |' "$build/install_manifest.txt")
if [ -f "$manifest" ]; then
  grep '^file ' "$manifest" | while read -r entry; do
    grep -qxF "$entry" <<<"$installed" || rm -f "${entry#file }"
  done
fi
mkdir -p "$share/vellonix"
{
  echo "$installed"
  printf '%s\n' "${old[@]}" "${new_folders[@]}" "${databases[@]}" | grep -v '^$' | sort -u
} >"$manifest.tmp"
mv "$manifest.tmp" "$manifest"

say "Installed into $prefix (scripts/install.sh --uninstall $prefix takes it out again)"
case ":$PATH:" in
  *":$prefix/bin:"*) ;;
  *) echo "Note: $prefix/bin is not on PATH; the desktop entry starts \"vellonix\" from PATH." \
          "Add it to PATH (a new login does so for ~/.local/bin where it exists)." ;;
esac
