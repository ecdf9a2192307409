#!/usr/bin/env bash
# Builds the Debian package vellonix_VERSION_ARCH.deb and checks it with
# lintian.
#   scripts/package-deb.sh [--build DIR] [--output DIR]
# Without --build it builds build-deb/ in Release with Debian's hardening
# flags; with it, it packages what DIR has built already. The package is
# written to OUTPUT (default: the top of the checkout). It holds the two
# programs, the desktop entry, the MIME package, the icons, the metainfo,
# the man pages and the shell completions; its dependencies come from the
# binaries (dpkg-shlibdeps), and Debian's triggers refresh the desktop's
# databases when it is installed. DEBFULLNAME and DEBEMAIL name the
# maintainer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
say() { printf '==> %s\n' "$*"; }
usage() { echo "usage: scripts/package-deb.sh [--build DIR] [--output DIR]" >&2; exit 2; }

build="" output="$root"
while [ $# -gt 0 ]; do
  case $1 in
    --build) [ $# -ge 2 ] || usage; build="$(realpath "$2")"; shift 2 ;;
    --output) [ $# -ge 2 ] || usage; output="$(realpath -m "$2")"; shift 2 ;;
    *) usage ;;
  esac
done

say "Checking the Debian packages the packaging needs"
"$root/scripts/install-deps.sh" --package
if [ -z "$build" ]; then
  build="$root/build-deb"
  say "Configuring a Release build with Debian's hardening flags in ${build#"$root/"}/"
  log=$(mktemp)
  if ! CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
       LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
       cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELLONIX_BUILD_TESTS=OFF >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
  fi
  rm -f "$log"
  say "Building ($(nproc) jobs at once)"
  cmake --build "$build" -j "$(nproc)"
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
release_date=$(sed -n 's/^set(VELLONIX_RELEASE_DATE \([0-9-]*\))$/\1/p' "$root/CMakeLists.txt")
arch=$(dpkg --print-architecture)
maintainer="${DEBFULLNAME:-SAM Coupé Vellonix developers} <${DEBEMAIL:-developers@vellonix.github.io}>"
# Every date in the package is the release's, so the same sources give the
# same package.
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(date -ud "$release_date" +%s)}"
deb="$output/vellonix_${version}_$arch.deb"

say "Laying out the package's files"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# Laid out as a Debian source tree would hold it, for dpkg-shlibdeps.
tree="$stage/source/debian/vellonix"
DESTDIR="$tree" cmake --install "$build" --prefix /usr >/dev/null
usr="$tree/usr"
# Debian's zsh takes packaged completions from vendor-completions.
if [ -d "$usr/share/zsh/site-functions" ]; then
  mkdir -p "$usr/share/zsh/vendor-completions"
  mv "$usr/share/zsh/site-functions/"* "$usr/share/zsh/vendor-completions/"
  rmdir "$usr/share/zsh/site-functions"
fi
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$usr"/bin/*
gzip -9n "$usr"/share/man/man1/*.1
doc="$usr/share/doc/vellonix"
mkdir -p "$doc"
# vellonix-cli carries the code of two header-only libraries, whose
# notices go with it: their holders and licence texts as Debian ships them.
holder() { awk -v RS= '/^Files: \*\n/' "/usr/share/doc/$1/copyright" | sed -n 's/^Copyright: / /p'; }
licence() { awk -v RS= -v name="$2" '$0 ~ "^License: " name "\n " { print; exit }' "/usr/share/doc/$1/copyright"; }
{
  echo "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
  echo "Upstream-Name: SAM Coupé Vellonix"
  echo
  echo "Files: *"
  sed -n 's/^Copyright (c) /Copyright: /p' "$root/LICENSE"
  echo "License: MIT"
  echo
  echo "Files: usr/bin/vellonix-cli"
  sed -n 's/^Copyright (c) /Copyright: /p' "$root/LICENSE"
  holder libcli11-dev
  holder nlohmann-json3-dev
  echo "License: MIT and BSD-3-clause and Expat"
  echo "Comment: Compiled in are CLI11 (BSD-3-clause) and nlohmann-json (Expat)."
  echo
  echo "License: MIT"
  sed -n '/^Permission/,$p' "$root/LICENSE" | sed 's/^$/./; s/^/ /'
  echo
  licence libcli11-dev BSD-3-clause
  echo
  licence nlohmann-json3-dev Expat
} >"$doc/copyright"
printf 'vellonix (%s) unstable; urgency=medium\n\n  * Release %s.\n\n -- %s  %s\n' \
  "$version" "$version" "$maintainer" "$(date -ud "@$SOURCE_DATE_EPOCH" -R)" | gzip -9n >"$doc/changelog.gz"
find "$tree" -type d -exec chmod 0755 {} +
find "$tree" -type f -exec chmod 0644 {} +
chmod 0755 "$usr"/bin/*

say "Finding the libraries the programs need (dpkg-shlibdeps)"
mkdir -p "$tree/DEBIAN"  # how dpkg-shlibdeps finds the package's root
printf 'Source: vellonix\n\nPackage: vellonix\nArchitecture: any\n' >"$stage/source/debian/control"
shlibs=$(cd "$stage/source" && dpkg-shlibdeps -O debian/vellonix/usr/bin/vellonix debian/vellonix/usr/bin/vellonix-cli)
depends="${shlibs#shlibs:Depends=}"
# Loaded at run time rather than linked: the window system's plugin (the
# SVG one comes with the linked libqt6svg6).
depends="$depends, qt6-qpa-plugins"

cat >"$tree/DEBIAN/control" <<CONTROL
Package: vellonix
Version: $version
Architecture: $arch
Maintainer: $maintainer
Installed-Size: $(du -sk --apparent-size "$usr" | cut -f1)
Depends: $depends
Section: otherosfs
Priority: optional
Homepage: https://vellonix.github.io/
Description: disk image manager for the SAM Coupé
 SAM Coupé Vellonix opens and saves whole 800 K SAM Coupé floppy disk
 images in the MGT and SAD containers and lists their SAM-DOS, MasterDOS
 and B-DOS directories. It creates blank disks, and adds, extracts, renames
 and deletes files.
 .
 The command vellonix-cli does the same work from scripts, and copies real
 SAM floppies into images and back.
CONTROL
(cd "$tree" && find usr -type f -exec md5sum {} + | sort -k2) >"$tree/DEBIAN/md5sums"
chmod 0644 "$tree/DEBIAN/control" "$tree/DEBIAN/md5sums"

mkdir -p "$output"
dpkg-deb --root-owner-group -Zxz --build "$tree" "$deb" >/dev/null

say "Checking it with lintian"
lintian --fail-on error "$deb"
say "Built $deb ($(du -h "$deb" | cut -f1)): apt install $deb"
