#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine with Xvfb; ends with
# CTest's summary. Idempotent: with nothing changed it only checks and re-runs the tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
. "$root/scripts/wine-env.sh"
ensure_wineprefix
echo "== test: running CTest under Wine and Xvfb"
# One X display and one wineserver for the whole run: windows can be created, and no test
# pays for a server start of its own.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineserver -p
  # Wine starts its helper processes with the first program; started here, they do not
  # inherit (and hold open) the output pipe of a test, which CTest waits on.
  wine cmd /c exit >/dev/null 2>&1 </dev/null
  ctest --test-dir "$1" --output-on-failure -j 2 --timeout 600
  rc=$?
  wineserver -k
  exit $rc' _ "$build"
