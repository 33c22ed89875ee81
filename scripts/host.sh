# Sourced by every script: what this host's kernel runs, decided once per run and handed down in
# the environment, and the one Wine loader that every Wine call of the scripts and tests uses.
# Some kernels run no 32-bit x86 code at all; there only Wine's 64-bit loader works, while
# Debian's wine, wineboot and winepath wrappers still pick the 32-bit one. The scripts therefore
# call Wine through scripts/bin, which execs the loader chosen here.
#   VT_HOST_RUNS_32BIT  1 or 0; set it to 0 to run as a host without 32-bit code would
#   VT_WINE             the loader: Debian's wine where 32-bit code runs, else Wine's 64-bit one
#   VT_TREES            the build trees whose programs run here: "x86 x64" or "x64"
vt_host_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# A static 32-bit Linux program of 93 bytes that only exits: the kernel runs it, or refuses it
# with "Exec format error" when 32-bit emulation is off.
vt_probe_32bit() {
  local probe status=0
  probe=$(mktemp)
  printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000'`
    `'\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000'`
    `'\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000'`
    `'\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010'`
    `'\135\000\000\000\135\000\000\000\005\000\000\000\000\020\000\000'`
    `'\270\001\000\000\000\061\333\315\200' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=1
  rm -f "$probe"
  return $status
}

if [ -z "${VT_HOST_RUNS_32BIT:-}" ]; then
  if vt_probe_32bit; then VT_HOST_RUNS_32BIT=1; else VT_HOST_RUNS_32BIT=0; fi
fi
if [ "$VT_HOST_RUNS_32BIT" = 1 ]; then
  VT_WINE=/usr/bin/wine
  VT_TREES="x86 x64"
else
  VT_WINE=/usr/lib/wine/wine64
  VT_TREES="x64"
  # Wine's own helpers (the server's start, wineboot's children) start this loader too.
  export WINELOADER=$VT_WINE
fi
export VT_HOST_RUNS_32BIT VT_WINE VT_TREES
case ":$PATH:" in
  *":$vt_host_root/scripts/bin:"*) ;;
  *) export PATH="$vt_host_root/scripts/bin:$PATH" ;;
esac

# The one line that says what a host without 32-bit code builds and runs; once per run.
vt_say_host() {
  [ "$VT_HOST_RUNS_32BIT" = 0 ] || return 0
  [ -z "${VT_HOST_SAID:-}" ] || return 0
  export VT_HOST_SAID=1
  echo "== host: this kernel runs no 32-bit x86 code (32-bit emulation is off), so no 32-bit program" \
    "can run here: the 32-bit tree is built but not run; the x64 tree, its tests and its package" \
    "run under Wine's 64-bit loader"
}

# The build trees: "x86" (what ships) in build/, "x64" beside it in build-x64/, each with the
# same layout inside; VT_BUILD_DIR moves both.
vt_tree_dir() {
  local base="${VT_BUILD_DIR:-$vt_host_root/build}"
  case $1 in
    x86) echo "$base" ;;
    x64) echo "$base-x64" ;;
  esac
}
vt_toolchain() {
  case $1 in
    x86) echo "$vt_host_root/cmake/mingw-i686.cmake" ;;
    x64) echo "$vt_host_root/cmake/mingw-x86_64.cmake" ;;
  esac
}
# True when the programs of tree $1 (x86 or x64) can run on this host.
vt_tree_runs() {
  case " $VT_TREES " in *" $1 "*) return 0 ;; *) return 1 ;; esac
}
# What the package needs: the stub, the package tool, the UI driver that runs it, and the
# package's own programs with their archive.
VT_PACKAGE_TARGETS="sfxrunner sfxpack uidriver_cli driver_package_archive"
# The tree whose package the main job and the benchmarks run: the shipped 32-bit one where the
# host can run it.
VT_RUN_TREE=${VT_TREES%% *}
