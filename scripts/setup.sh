#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine, and fetches the
# third-party sources into the git-ignored cache folder. Idempotent: a second run only checks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache="$root/.cache/deps"
. "$root/scripts/deps.env"
. "$root/scripts/host.sh"

say() { printf '== setup: %s\n' "$*"; }

packages=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev
  wine wine64 fonts-wine xvfb xauth x11-utils cmake ninja-build 7zip googletest imagemagick
  dpkg-dev
)
# Wine's 32-bit half only where the kernel runs 32-bit code: elsewhere it cannot start, and
# its i386 libraries would only tie the install to the i386 package lists.
if [ "$VT_HOST_RUNS_32BIT" = 1 ]; then packages+=(wine32:i386); fi

# A mirror in mid-sync fails one index now and then; the package lists that did arrive still
# serve the install, which says itself what it could not find.
apt_update() {
  local try
  for try in 1 2 3; do
    apt-get update -qq && return 0
    sleep $((try * 5))
  done
  say "apt-get update failed three times; going on with the package lists it has"
}

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed' || echo "$p"
  done
}

enable_sources() {
  local changed=0
  if [ "$VT_HOST_RUNS_32BIT" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
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
    apt_update
    apt-get install -y -qq --no-install-recommends $need >/dev/null
  elif [ "$changed" = 1 ]; then
    apt_update
  else
    say "Debian packages present"
  fi
}

# The upstream version inside a Debian version: "22.01+really26.02+dfsg-0+deb12u1" holds 26.02,
# "1:2.6.2-6+deb12u1" holds 2.6.2.
upstream_of() {
  local v=${1#*:}
  v=${v%-*}
  case $v in *+really*) v=${v#*+really} ;; esac
  echo "${v%%+*}"
}

# offered_version PACKAGE UPSTREAM: the newest Debian version of the source package whose
# upstream version is UPSTREAM, or nothing.
offered_version() {
  local pkg=$1 upstream=$2 best="" v
  for v in $(apt-cache showsrc "$pkg" 2>/dev/null | sed -n 's/^Version: //p'); do
    [ "$(upstream_of "$v")" = "$upstream" ] || continue
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
  done
  echo "$best"
}

# resolve_version PACKAGE UPSTREAM: as offered_version, refreshing the package lists once when
# they do not offer it; stops the set-up when the archive no longer has that upstream version.
resolve_version() {
  local pkg=$1 upstream=$2 version
  version=$(offered_version "$pkg" "$upstream")
  if [ -z "$version" ]; then
    apt_update >&2
    version=$(offered_version "$pkg" "$upstream")
  fi
  if [ -z "$version" ]; then
    local offered
    offered=$(apt-cache showsrc "$pkg" 2>/dev/null | sed -n 's/^Version: //p' | tr '\n' ' ')
    echo "== setup: the Debian archive no longer offers $pkg $upstream (it offers: ${offered:-nothing})." >&2
    echo "== setup: move scripts/deps.env to an offered upstream version and check the build." >&2
    exit 1
  fi
  echo "$version"
}

# fetch_source PACKAGE UPSTREAM DIRNAME: unpacked, patched source in $cache/DIRNAME; the Debian
# version fetched is recorded in $cache/versions.txt.
fetch_source() {
  local pkg=$1 upstream=$2 dir=$3
  local kept
  kept=$(ls "$cache/$dir"/.fetched-* 2>/dev/null | head -n 1 || true)
  if [ -n "$kept" ] && [ "$(upstream_of "${kept##*/.fetched-}")" = "$upstream" ]; then
    record_version "$pkg" "${kept##*/.fetched-}"
    return 0
  fi
  local ver
  ver=$(resolve_version "$pkg" "$upstream")
  say "fetching source $pkg $ver"
  mkdir -p "$cache/download"
  rm -rf "$cache/$dir"
  ( cd "$cache/download"
    if ! ls "${pkg}_${ver#*:}.dsc" >/dev/null 2>&1; then
      apt-get source --download-only "$pkg=$ver" >/dev/null 2>&1 || {
        # Package lists older than the archive name files it has replaced.
        apt_update; apt-get source --download-only "$pkg=$ver" >/dev/null; }
    fi
    dpkg-source --no-check -x "${pkg}_${ver#*:}.dsc" "$cache/$dir" >/dev/null )
  touch "$cache/$dir/.fetched-$ver"
  record_version "$pkg" "$ver"
}

record_version() {
  mkdir -p "$cache"
  touch "$cache/versions.txt"
  sed -i "/^$1 /d" "$cache/versions.txt"
  echo "$1 $2" >> "$cache/versions.txt"
}

install_packages
fetch_source tinyxml2 "$TINYXML2_UPSTREAM" tinyxml2
fetch_source tinyxml "$TINYXML_UPSTREAM" tinyxml
fetch_source 7zip "$SEVENZIP_UPSTREAM" 7zip
say "third-party sources: $(sort "$cache/versions.txt" | tr '\n' ';' | sed 's/;$//; s/;/; /g')"
say "done"
