#!/usr/bin/env bash
# Makes the driver package: the stub with its shipped configuration, followed by the archive of
# the package folder (built by the target driver_package_archive). Prints the package's path.
# Needs the build and the 32-bit Wine prefix (scripts/wine-env.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
package="$build/package/SonarixDriverPackage.exe"
win() { winepath -w "$1" 2>/dev/null; }
rm -f "$package"
wine "$build/tools/sfxpack/sfxpack.exe" --stub "$(win "$build/sfxrunner/sfxrunner.exe")" \
  --keep-config --archive "$(win "$build/package/SonarixUsbAudioDriver.7z")" \
  --out "$(win "$package")" >/dev/null
echo "$package"
