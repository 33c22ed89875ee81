#!/usr/bin/env bash
# Configures (once) and builds with the mingw-w64 cross compilers: the targets named on the
# command line, or every target (tests included) when none is named, in each tree of
# VT_BUILD_TREES (default both: "x86 x64"; see scripts/host.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/host.sh"
versions="$root/.cache/deps/versions.txt"
targets=()
for target in "$@"; do targets+=(--target "$target"); done
for tree in ${VT_BUILD_TREES:-x86 x64}; do
  build=$(vt_tree_dir "$tree")
  if [ ! -f "$build/build.ninja" ]; then
    echo "== build: configuring the $tree tree in $build"
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$(vt_toolchain "$tree")" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  # What the third-party libraries of this build were compiled from.
  if [ -f "$versions" ]; then
    cp "$versions" "$build/third-party-versions.txt"
  fi
  echo "== build: compiling the $tree tree${1:+: $*}"
  # Progress lines are dropped; the pipeline's status stays the build's (grep finding nothing
  # to print is not a failure).
  cmake --build "$build" -j "$(nproc)" "${targets[@]}" | { grep -v -E '^\[[0-9]+/[0-9]+\] ' || true; }
done
if [ -f "$versions" ]; then
  echo "== build: third-party sources: $(sort "$versions" | tr '\n' ';' | sed 's/;$//; s/;/; /g')"
fi
