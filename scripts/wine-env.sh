# Sourced by the scripts: Wine quiet, through the loader that this host can run (host.sh), in
# prefixes of one build tree (never the user's own). VT_TREE names the tree, x86 or x64; by
# default the one whose programs the host runs (the shipped 32-bit one where it can).
# A tree's own prefix, build/wineprefix, is a Windows of the tree's width: 32-bit for the x86
# tree, 64-bit for the x64 one. The x86 tree also has build/wineprefix64, a 64-bit Windows
# where its 32-bit programs run under WOW64.
. "$root/scripts/host.sh"
tree=${VT_TREE:-$VT_RUN_TREE}
build=$(vt_tree_dir "$tree")
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
# No prompts for Wine's .NET or HTML engines, and no desktop entries in the Linux home for
# the shortcuts that setup makes in the Start menu.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
if [ "$tree" = x64 ]; then tree_prefix_arch=win64; else tree_prefix_arch=win32; fi
WINEPREFIX64="$build/wineprefix64"
# The crash tests' own prefix: their full memory dumps keep a Wine server busy for long.
WINEPREFIXCRASH="$build/wineprefix-crash"

# make_prefix DIR ARCH: creates the prefix once, with the settings the tests rely on:
# - a crash ends the program instead of opening winedbg's dialog;
# - windows are not handed to a window manager (there is none under Xvfb), so that hiding or
#   destroying one takes milliseconds instead of about two seconds;
# - Wine's own fonts (Tahoma for dialogs, Marlett for the caption buttons) are in the Windows
#   fonts folder, as on Windows: Debian's Wine does not look for them where fonts-wine puts them,
#   and without Marlett every close button shows the letter "r".
prefix_stamp=.vt-ready-3
make_prefix() {
  local dir=$1 arch=$2
  if [ ! -f "$dir/$prefix_stamp" ]; then
    echo "== wine: creating $arch prefix $dir"
    rm -rf "$dir"
    mkdir -p "$(dirname "$dir")"
    WINEPREFIX="$dir" WINEARCH="$arch" wineboot -i >/dev/null 2>&1
    cp /usr/share/wine/fonts/* "$dir/drive_c/windows/Fonts/"
    WINEPREFIX="$dir" wine reg add 'HKCU\Software\Wine\WineDbg' \
      /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    WINEPREFIX="$dir" wine reg add 'HKCU\Software\Wine\X11 Driver' \
      /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    WINEPREFIX="$dir" wineserver -w
    touch "$dir/$prefix_stamp"
  fi
}

ensure_wineprefix() { make_prefix "$WINEPREFIX" "$tree_prefix_arch"; }
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

# Every prefix of the tree's tests; prints them, the tree's own first.
ensure_wineprefixes() {
  ensure_wineprefix
  [ "$tree" = x64 ] || make_prefix "$WINEPREFIX64" win64
  copy_prefix "$WINEPREFIX" "$WINEPREFIXCRASH"
}
test_prefixes() {
  if [ "$tree" = x64 ]; then
    echo "$WINEPREFIX" "$WINEPREFIXCRASH"
  else
    echo "$WINEPREFIX" "$WINEPREFIX64" "$WINEPREFIXCRASH"
  fi
}
