#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine, and fetches the
# third-party sources into the git-ignored cache folder. Idempotent: a second run only checks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache="$root/.cache/deps"
. "$root/scripts/deps.env"

say() { printf '== setup: %s\n' "$*"; }

packages=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 wine64 xvfb xauth x11-utils cmake ninja-build 7zip googletest imagemagick
  dpkg-dev
)

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed' || echo "$p"
  done
}

enable_sources() {
  local changed=0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386; changed=1
  fi
  local f=/etc/apt/sources.list.d/debian.sources
  if [ -f "$f" ] && grep -q '^Types: deb$' "$f"; then
    sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"; changed=1
  fi
  if [ -f /etc/apt/sources.list ] && grep -q '^deb http' /etc/apt/sources.list \
     && ! grep -q '^deb-src' /etc/apt/sources.list; then
    sed -n 's/^deb \(http.*\)/deb-src \1/p' /etc/apt/sources.list >> /etc/apt/sources.list; changed=1
  fi
  echo "$changed"
}

install_packages() {
  local need
  need=$(missing_packages)
  local changed
  changed=$(enable_sources)
  if [ -n "$need" ]; then
    say "installing: $(echo $need | tr '\n' ' ')"
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends $need >/dev/null
  elif [ "$changed" = 1 ]; then
    apt-get update -qq
  else
    say "Debian packages present"
  fi
}

# fetch_source PACKAGE VERSION DIRNAME: unpacked, patched source in $cache/DIRNAME.
fetch_source() {
  local pkg=$1 ver=$2 dir=$3
  local stamp="$cache/$dir/.fetched-$ver"
  [ -f "$stamp" ] && return 0
  say "fetching source $pkg $ver"
  mkdir -p "$cache/download"
  rm -rf "$cache/$dir"
  ( cd "$cache/download"
    if ! ls "${pkg}_${ver#*:}.dsc" >/dev/null 2>&1; then
      apt-get source --download-only "$pkg=$ver" >/dev/null 2>&1 || {
        # Source lists may be stale on a machine whose apt lists came without deb-src.
        apt-get update -qq; apt-get source --download-only "$pkg=$ver" >/dev/null; }
    fi
    dpkg-source --no-check -x "${pkg}_${ver#*:}.dsc" "$cache/$dir" >/dev/null )
  touch "$stamp"
}

install_packages
fetch_source tinyxml2 "$TINYXML2_VERSION" tinyxml2
fetch_source tinyxml "$TINYXML_VERSION" tinyxml
fetch_source 7zip "$SEVENZIP_VERSION" 7zip
say "done"
