#!/usr/bin/env bash
# The main job: installs what is missing, builds what it runs, packs the driver package (the stub
# with its shipped configuration, followed by the 7z archive of the package folder) and runs it
# under Wine, printing its windows, message boxes and full exit code. Then the mixer control
# panel runs from the package folder over the simulated device's library, registered for its
# driver interface as the driver's setup registers it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
# Only what the main job runs: the stub, the package tool, the mixer with its files, the
# simulated device, the UI driver and the stand-in for the driver's setup program.
bash "$root/scripts/build.sh" sfxrunner sfxpack uidriver_cli dspmixer dspmixer_files \
  sonarixapi sonarixsim argrecorder
. "$root/scripts/wine-env.sh"
ensure_wineprefix

out="$build/package"
payload="$out/payload/SonarixUsbAudioDriver"
rm -rf "$out"
mkdir -p "$payload"
echo "== run: packing the driver package"
printf 'Sonarix USB audio driver package\r\n' > "$payload/readme.txt"
# The simulated device's driver API library and its control tool ship in the package folder.
cp "$build/simdriver/sonarixapi.dll" "$build/simdriver/sonarixapi.ini" \
   "$build/simdriver/sonarixsim.exe" "$payload/"
# The mixer control panel with its configuration file and language folder.
cp "$build/dspmixer/dspmixer.exe" "$build/dspmixer/dspmixer.xml" "$payload/"
cp -r "$build/dspmixer/dspmixer.strings" "$payload/"
# The driver's own setup program is not built here: the test suite's recorder stands in for it
# and writes down how the stub started it.
cp "$build/tests/sfxrunner/launch/argrecorder.exe" "$payload/setup.exe"
(cd "$out/payload" && 7zz a -bso0 -bsp0 "$out/payload.7z" SonarixUsbAudioDriver)
win() { winepath -w "$1" 2>/dev/null; }
wine "$build/tools/sfxpack/sfxpack.exe" --stub "$(win "$build/sfxrunner/sfxrunner.exe")" \
  --keep-config --archive "$(win "$out/payload.7z")" --out "$(win "$out/SonarixDriverPackage.exe")"
ls -l "$out/SonarixDriverPackage.exe"

record="$out/setup-record.txt"
export VT_RECORD_FILE="$(win "$record")"
package="$(win "$out/SonarixDriverPackage.exe")"
mixer="$(win "$payload/dspmixer.exe")"
driver_api="$(win "$payload/sonarixapi.dll")"
simtool="$(win "$payload/sonarixsim.exe")"
shot="$out/simple-mixer.png"
advanced_shot="$out/advanced-mixer.png"
interface=$(sed -n 's:.*<DriverInterfaceGUID>\(.*\)</DriverInterfaceGUID>.*:\1:p' "$payload/dspmixer.xml")
# Windows need a wineserver that runs under the X display: end the one the packing and the
# path conversions started (no Wine command may run between here and the display's server).
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
echo "== run: starting the package"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 </dev/null
  wine "$1" run --answer-boxes --timeout 120 -- "$2"
  rc=$?
  # The shell starts setup.exe without the stub waiting for it: give it a moment.
  for i in $(seq 50); do [ -f "$3" ] && break; sleep 0.2; done
  if [ $rc -eq 0 ]; then
    echo "== run: registering the driver interface $5 and plugging in a simulated device"
    wine reg add "HKCR\\CLSID\\$5\\InprocServer32" /ve /d "$6" /f >/dev/null
    wine "$8" reset >/dev/null
    wine "$8" node 1 DeviceInput:0 DeviceOutput:0 75% >/dev/null
    wine "$8" node 1 AppPlayback:0 AppRecording:0 50% >/dev/null
    echo "== run: starting the mixer, choosing Simple, closing it with -exitall"
    ( bash "$9/scripts/screenshot.sh" "Sonarix Mixer Control" "$7" 30
      wine "$4" -exitall ) &
    wine "$1" run --answer-boxes --press 1011 --timeout 60 -- "$4"
    rc=$?
    wait $! || rc=1
    echo "== run: starting the mixer again, choosing Advanced, closing it with -exitall"
    ( bash "$9/scripts/screenshot.sh" "Sonarix Mixer Control" "${10}" 30 1
      wine "$4" -exitall ) &
    wine "$1" run --answer-boxes --press 1012 --timeout 60 -- "$4" >/dev/null
    [ $? -eq 0 ] || rc=1
    wait $! || rc=1
  fi
  wineserver -k
  exit $rc' _ "$build/tools/uidriver/uidriver.exe" "$package" "$record" "$mixer" "$interface" \
  "$driver_api" "$shot" "$simtool" "$root" "$advanced_shot"
echo "== run: the setup program was started so:"
cat "$record"
echo "== run: the simple mixer on the simulated device: $shot"
echo "== run: the advanced mixer with its meters running: $advanced_shot"
