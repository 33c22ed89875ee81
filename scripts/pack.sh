#!/usr/bin/env bash
# Makes the driver package of one tree (x86, the shipped one, or x64; default: the tree the
# host runs): the tree's stub with its shipped configuration, followed by the archive of the
# tree's package folder (built by the target driver_package_archive). Prints the package's path.
# The package tool of the tree that the host runs does the packing, and the Wine prefix of that
# tree must exist (scripts/wine-env.sh).
#   pack.sh [TREE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
packed=$(vt_tree_dir "${1:-$tree}")
package="$packed/package/SonarixDriverPackage.exe"
win() { winepath -w "$1" 2>/dev/null; }
rm -f "$package"
wine "$build/tools/sfxpack/sfxpack.exe" --stub "$(win "$packed/sfxrunner/sfxrunner.exe")" \
  --keep-config --archive "$(win "$packed/package/SonarixUsbAudioDriver.7z")" \
  --out "$(win "$package")" >/dev/null
echo "$package"
