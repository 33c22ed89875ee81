# Sourced by the scripts: Wine quiet, in prefixes of the build folder (never the user's own).
# build/wineprefix is a 32-bit Windows; build/wineprefix64 a 64-bit one, where our 32-bit
# programs run under WOW64.
build="${VT_BUILD_DIR:-$root/build}"
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
# No prompts for Wine's .NET or HTML engines, and no desktop entries in the Linux home for
# the shortcuts that setup makes in the Start menu.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
WINEPREFIX64="$build/wineprefix64"
# The crash tests' own prefix: their full memory dumps keep a Wine server busy for long.
WINEPREFIXCRASH="$build/wineprefix-crash"

# make_prefix DIR ARCH: creates the prefix once, with the settings the tests rely on:
# - a crash ends the program instead of opening winedbg's dialog;
# - windows are not handed to a window manager (there is none under Xvfb), so that hiding or
#   destroying one takes milliseconds instead of about two seconds.
prefix_stamp=.vt-ready-2
make_prefix() {
  local dir=$1 arch=$2
  if [ ! -f "$dir/$prefix_stamp" ]; then
    echo "== wine: creating $arch prefix $dir"
    rm -rf "$dir"
    mkdir -p "$(dirname "$dir")"
    WINEPREFIX="$dir" WINEARCH="$arch" wineboot -i >/dev/null 2>&1
    WINEPREFIX="$dir" wine reg add 'HKCU\Software\Wine\WineDbg' \
      /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    WINEPREFIX="$dir" wine reg add 'HKCU\Software\Wine\X11 Driver' \
      /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    WINEPREFIX="$dir" wineserver -w
    touch "$dir/$prefix_stamp"
  fi
}

ensure_wineprefix() { make_prefix "$WINEPREFIX" win32; }
# copy_prefix FROM TO: a ready prefix copied (quicker than a new one), once.
copy_prefix() {
  local from=$1 to=$2
  if [ ! -f "$to/$prefix_stamp" ]; then
    echo "== wine: copying prefix $from to $to"
    WINEPREFIX="$from" wineserver -w
    rm -rf "$to"
    cp -a "$from" "$to"
  fi
}

ensure_wineprefixes() {
  make_prefix "$WINEPREFIX" win32
  make_prefix "$WINEPREFIX64" win64
  copy_prefix "$WINEPREFIX" "$WINEPREFIXCRASH"
}
