#!/usr/bin/env bash
# Installs what is missing, builds both trees, and runs every test that this host can run under
# Wine with Xvfb: the 32-bit tree (in its 32-bit prefix, with the WOW64 runs in a 64-bit one)
# where the kernel runs 32-bit code, and the x64 tree in a 64-bit prefix. Each tree ends with
# CTest's summary; the last lines say which trees ran, and why a tree did not. Idempotent:
# with nothing changed it only checks and re-runs the tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
. "$root/scripts/host.sh"
vt_say_host
# A tree whose programs cannot run here is built as far as it ships: its test programs would
# only take build time.
for tree in x86 x64; do
  if vt_tree_runs "$tree"; then
    VT_BUILD_TREES=$tree bash "$root/scripts/build.sh"
  else
    VT_BUILD_TREES=$tree bash "$root/scripts/build.sh" $VT_PACKAGE_TARGETS
  fi
done

# run_tree TREE: the tree's CTest under one X display, with one persistent wineserver per
# prefix for the whole run: windows can be created, and no test pays for a server start of its
# own. Wine's helper processes start here, so that they do not inherit (and hold open) the
# output pipe of a test, which CTest waits on.
run_tree() {
  local VT_TREE=$1
  . "$root/scripts/wine-env.sh"
  ensure_wineprefixes
  echo "== test: the $tree tree ($build): CTest under Wine and Xvfb"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    build=$1; shift
    for prefix in "$@"; do
      WINEPREFIX=$prefix wineserver -p
      WINEPREFIX=$prefix wine cmd /c exit >/dev/null 2>&1 </dev/null
      # The desktop process too: it would keep the output pipe of the test that started it.
      ready="$prefix/.vt-desktop-ready"
      rm -f "$ready"
      WINEPREFIX=$prefix wine "$build/tools/uidriver/uidriver.exe" hold-desktop >"$ready" 2>/dev/null </dev/null &
      for _ in $(seq 300); do grep -q ready "$ready" 2>/dev/null && break; sleep 0.1; done
      grep -q ready "$ready" || echo "== test: the desktop of $prefix did not open; tests may wait on it"
    done
    ctest --test-dir "$build" --output-on-failure -j 2 --timeout 600
    rc=$?
    for prefix in "$@"; do WINEPREFIX=$prefix wineserver -k; done
    exit $rc' _ "$build" $(test_prefixes) 2>&1 | tee "$build/ctest-output.txt"
}

# counts TREE: "<passed> <failed>" from the tree's CTest summary line.
counts() {
  sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1 \2/p' \
    "$(vt_tree_dir "$1")/ctest-output.txt" | tail -n 1 | awk '{ print $2 - $1, $1 }'
}

status=0
passed=0 failed=0
summary=()
for tree in x86 x64; do
  if ! vt_tree_runs "$tree"; then
    not_run="the $tree tree's suites were not run: this kernel runs no 32-bit code"
    summary+=("$not_run (its package's programs were built)")
    continue
  fi
  run_tree "$tree" || status=1
  read -r p f < <(counts "$tree") || { p=0; f=1; status=1; }
  passed=$((passed + p)) failed=$((failed + f))
  summary+=("the $tree tree: $p passed, $f failed")
done
for line in "${summary[@]}"; do echo "== test: $line"; done
echo "tests: $passed passed, $failed failed"
exit $status
