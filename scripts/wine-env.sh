# Sourced by the scripts: Wine quiet, in a prefix of the build folder (never the user's own).
build="${VT_BUILD_DIR:-$root/build}"
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32

# Creates the prefix once; a crash then ends the program instead of opening winedbg's dialog.
ensure_wineprefix() {
  if [ ! -f "$WINEPREFIX/.vt-ready" ]; then
    echo "== wine: creating prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.vt-ready"
  fi
}
