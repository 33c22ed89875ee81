#!/usr/bin/env bash
# Configures (once) and builds with the mingw-w64 cross compiler: the targets named on the
# command line, or every target (tests included) when none is named.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${VT_BUILD_DIR:-$root/build}"
if [ ! -f "$build/build.ninja" ]; then
  echo "== build: configuring $build"
  cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
# What the third-party libraries of this build were compiled from.
versions="$root/.cache/deps/versions.txt"
if [ -f "$versions" ]; then
  cp "$versions" "$build/third-party-versions.txt"
  echo "== build: third-party sources: $(sort "$versions" | tr '\n' ';' | sed 's/;$//; s/;/; /g')"
fi
targets=()
for target in "$@"; do targets+=(--target "$target"); done
echo "== build: compiling${1:+ $*}"
# Progress lines are dropped; the pipeline's status stays the build's (grep finding nothing to
# print is not a failure).
cmake --build "$build" -j "$(nproc)" "${targets[@]}" | { grep -v -E '^\[[0-9]+/[0-9]+\] ' || true; }
