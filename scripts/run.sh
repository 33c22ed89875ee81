#!/usr/bin/env bash
# The main job: installs what is missing, builds everything, packs the driver package (the stub
# with its shipped configuration, followed by the 7z archive of the package folder) and runs it
# under Wine, printing its windows, message boxes and full exit code.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
. "$root/scripts/wine-env.sh"
ensure_wineprefix

out="$build/package"
payload="$out/payload/SonarixUsbAudioDriver"
rm -rf "$out"
mkdir -p "$payload"
echo "== run: packing the driver package"
printf 'Sonarix USB audio driver package\r\n' > "$payload/readme.txt"
(cd "$out/payload" && 7zz a -bso0 -bsp0 "$out/payload.7z" SonarixUsbAudioDriver)
win() { winepath -w "$1" 2>/dev/null; }
wine "$build/tools/sfxpack/sfxpack.exe" --stub "$(win "$build/sfxrunner/sfxrunner.exe")" \
  --keep-config --archive "$(win "$out/payload.7z")" --out "$(win "$out/SonarixDriverPackage.exe")"
ls -l "$out/SonarixDriverPackage.exe"

echo "== run: starting the package"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineserver -p
  wine "$1" run --answer-boxes --timeout 120 -- "$2"
  rc=$?
  wineserver -k
  exit $rc' _ "$build/tools/uidriver/uidriver.exe" "$(win "$out/SonarixDriverPackage.exe")"
