#!/usr/bin/env bash
# The main job, as a user meets the driver package under Wine: installs what is missing, builds
# what it runs, packs the package (the stub with its shipped configuration, followed by the
# archive of the package folder) and runs it: the stub's progress window, then the package's
# setup, which installs the software. A simulated device is plugged in, the installed mixer is
# started as its Start menu shortcut starts it, and its select, simple and advanced windows are
# shown. Pictures of each window go to the output folder and to docs/.
# Both packages are made: the shipped 32-bit one and the x64 one. The one that runs is the
# 32-bit package where the kernel runs 32-bit code, else the x64 package (scripts/host.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
. "$root/scripts/host.sh"
vt_say_host
bash "$root/scripts/build.sh" $VT_PACKAGE_TARGETS
. "$root/scripts/wine-env.sh"
ensure_wineprefix

echo "== run: packing the driver packages"
for packed in x86 x64; do
  made=$(bash "$root/scripts/pack.sh" "$packed")
  ls -l "$made"
  if [ "$packed" = "$tree" ]; then package=$made; fi
done
if [ "$tree" = x86 ]; then
  echo "== run: running the shipped 32-bit package $package in a 32-bit Windows prefix"
else
  echo "== run: running the x64 package $package in a 64-bit Windows prefix (the shipped" \
    "32-bit package is made, but cannot run on this host)"
fi
pictures="$build/package/pictures"
rm -rf "$pictures"
mkdir -p "$pictures"

win() { winepath -w "$1" 2>/dev/null; }
uidriver="$build/tools/uidriver/uidriver.exe"
package_win=$(win "$package")
program_files=$(wine cmd /c echo %ProgramFiles% 2>/dev/null | tr -d '\r')
install="$program_files\\Sonarix\\USB Audio Driver"
# Windows need a wineserver that runs under the X display: end the one that the packing and the
# path conversions started (no Wine command may run between here and the display's server).
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true

started=$(date +%s%N)
echo "== run: starting the package"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -s -- "$uidriver" "$package_win" "$install" \
  "$pictures" "$root" "$started" <<'SCRIPT'
set -u
uidriver=$1 package=$2 install=$3 pictures=$4 root=$5 started=$6
shot() { bash "$root/scripts/screenshot.sh" "$@"; }
rc=0
wineserver -p
wine cmd /c exit >/dev/null 2>&1 </dev/null

# The stub: its progress window while it extracts, then it starts setup through the shell.
shot " Setup" "$pictures/1-progress.png" 30 0.3 & progress=$!
wine "$uidriver" run --answer-boxes --timeout 120 -- "$package" || rc=1
wait $progress || rc=1

# Setup's window: the picture once it shows its result, then "Close".
wine "$uidriver" press --wait-only --when-text Close --timeout 120 \
  --title "Sonarix USB Audio Driver Setup" --id 2 >/dev/null || rc=1
shot "Sonarix USB Audio Driver Setup" "$pictures/2-setup.png" 10 || rc=1
wine "$uidriver" press --title "Sonarix USB Audio Driver Setup" --id 2 --when-text Close || rc=1

echo "== run: plugging in a simulated device"
wine "$install\\sonarixsim.exe" reset >/dev/null || rc=1
wine "$install\\sonarixsim.exe" node 1 DeviceInput:0 DeviceOutput:0 75% >/dev/null || rc=1
wine "$install\\sonarixsim.exe" node 1 AppPlayback:0 AppRecording:0 50% >/dev/null || rc=1

echo "== run: the installed mixer, started as its Start menu shortcut starts it"
for choice in 1011 1012; do
  # The windows and the exit code; not the hundreds of child windows of the advanced mixer.
  wine "$uidriver" run --answer-boxes --timeout 60 --cwd "$install" -- "$install\\dspmixer.exe" \
    | grep -v '^  control' &
  mixer=$!
  if [ $choice = 1011 ]; then
    shot "Select Mixer" "$pictures/3-select.png" 30 || rc=1
    echo "== run: the installed mixer's window came $(( ($(date +%s%N) - started) / 1000000 )) ms after the package started"
  fi
  wine "$uidriver" press --title "Select Mixer" --id $choice --timeout 30 || rc=1
  if [ $choice = 1011 ]; then
    shot "Sonarix Mixer Control" "$pictures/4-simple-mixer.png" 30 || rc=1
  else
    # The meters run: a second lets them move.
    shot "Sonarix Mixer Control" "$pictures/5-advanced-mixer.png" 30 1 || rc=1
  fi
  wine "$install\\dspmixer.exe" -exitall || rc=1
  wait $mixer || rc=1
done
wineserver -k
exit $rc
SCRIPT
elapsed_ms=$(( ($(date +%s%N) - started) / 1000000 ))
mkdir -p "$root/docs"
cp "$pictures"/*.png "$root/docs/"
echo "== run: the package's run took ${elapsed_ms} ms up to the mixer's end"
echo "== run: pictures of every window: $pictures (copied to $root/docs)"
ls "$pictures"
