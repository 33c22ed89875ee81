#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine with Xvfb; ends with
# CTest's summary. Idempotent: with nothing changed it only checks and re-runs the tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
. "$root/scripts/wine-env.sh"
ensure_wineprefixes
echo "== test: running CTest under Wine and Xvfb"
# One X display and one persistent wineserver per prefix (32-bit, 64-bit, crash tests) for the
# whole run: windows can be created, and no test pays for a server start of its own. Wine's
# helper processes start here, so that they do not inherit (and hold open) the output pipe of
# a test, which CTest waits on.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  for prefix in "$WINEPREFIX" "$2" "$3"; do
    WINEPREFIX=$prefix wineserver -p
    WINEPREFIX=$prefix wine cmd /c exit >/dev/null 2>&1 </dev/null
    # The desktop process too: it would keep the output pipe of the test that started it.
    ready="$prefix/.vt-desktop-ready"
    rm -f "$ready"
    WINEPREFIX=$prefix wine "$1/tools/uidriver/uidriver.exe" hold-desktop >"$ready" 2>/dev/null </dev/null &
    for _ in $(seq 300); do grep -q ready "$ready" 2>/dev/null && break; sleep 0.1; done
    grep -q ready "$ready" || echo "== test: the desktop of $prefix did not open; tests may wait on it"
  done
  ctest --test-dir "$1" --output-on-failure -j 2 --timeout 600
  rc=$?
  for prefix in "$WINEPREFIX" "$2" "$3"; do WINEPREFIX=$prefix wineserver -k; done
  exit $rc' _ "$build" "$WINEPREFIX64" "$WINEPREFIXCRASH"
