#!/usr/bin/env bash
# Times the mixer's advanced window over the simulated device against the bare work under it,
# in one run, round by round, and prints medians:
#  1. A device change to the rebuilt, painted window: unplugging (matrix to no-device panel)
#     and plugging in again (panel to matrix), at the shipped channel limits (8,8,8,8,4,4:
#     20 x 20) and at 32 channels a family (96 x 96). Beside it mixerfloor.exe creates, paints
#     and destroys the same child dialogs from the same templates. Goal: within 1.25x.
#  2. The meters' driver requests over some seconds (one level read a tick, 20 a second), and
#     the heap allocations per tick of the window in-process (mixertick.exe).
#  3. The mixer's processor time over 10 s with the 20 x 20 matrix and its meters running,
#     beside mixerfloor.exe moving the same 40 meters at 20 Hz. Goal: at most the floor.
# The floor runs while the mixer shows its no-device panel, so the two never share the
# processor. Beside each wall time stand the processor times of the program and of the
# wineserver, read from /proc (Wine gives no other process's times). Settings: VT_BENCH_ROUNDS (5), VT_BENCH_BIG_ROUNDS (3, the 96 x 96 rounds; 0
# leaves them out), VT_BENCH_CPU_SECONDS (10), VT_BENCH_DIR (build/bench-mixer), VT_BENCH_MIXER
# (the dspmixer.exe to measure, default the build's: another build of it can be held against
# the same floor), VT_TREE (the build to time, x86 or x64: by default the shipped 32-bit one
# where the kernel runs 32-bit code, else the x64 one; see scripts/host.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/host.sh"
export VT_TREE=${VT_TREE:-$VT_RUN_TREE}
build=$(vt_tree_dir "$VT_TREE")
work="${VT_BENCH_DIR:-$build/bench-mixer}"
rounds="${VT_BENCH_ROUNDS:-5}"
big_rounds="${VT_BENCH_BIG_ROUNDS:-3}"
cpu_seconds="${VT_BENCH_CPU_SECONDS:-10}"
title="Sonarix Mixer Control"
small_counts=8,8,8,8,4,4
big_counts=32,32,32,32,32,32

winpath() { echo "Z:${1//\//\\}"; }

# Rows and columns of a device's matrix, and the windows it takes: a row label holds 3, a cell
# 2, a column label 4.
matrix_windows() {
  local do di ap ar apv arv
  IFS=, read -r do di ap ar apv arv <<<"$1"
  local rows=$((ap + di + apv)) columns=$((do + ar + arv))
  echo $((3 * rows + 2 * rows * columns + 4 * columns))
}

# The mixer's files with the advanced window at start, its channel limits raised to `limit`
# when one is given, and the simulated library beside it (no interface in the configuration:
# the library beside the program is used).
install_mixer() {
  local folder=$1 limit=${2:-}
  mkdir -p "$folder"
  cp "${VT_BENCH_MIXER:-$build/dspmixer/dspmixer.exe}" "$build/simdriver/sonarixapi.dll" \
     "$build/simdriver/sonarixapi.ini" "$folder/"
  cp -r "$build/dspmixer/dspmixer.strings" "$folder/"
  local limits=
  [ -z "$limit" ] || limits="s:\(<MaxChannelCount[A-Za-z]*>\)[0-9]*<:\1$limit<:"
  sed -e '/<DriverInterfaceGUID>/d' \
      -e 's:<StartWindow>.*</StartWindow>:<StartWindow>Advanced</StartWindow>:' \
      -e "$limits" "$build/dspmixer/dspmixer.xml" >"$folder/dspmixer.xml"
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "n/a";
  else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

if [ "${1:-}" != "--in-display" ]; then
  vt_say_host
  echo "== bench: timing the $VT_TREE build ($build)"
  echo "== bench: building the mixer, the simulated device and the benchmark programs"
  VT_BUILD_TREES=$VT_TREE bash "$root/scripts/build.sh" dspmixer dspmixer_files sonarixapi \
    sonarixsim mixerfloor mixerprobe mixertick >/dev/null
  . "$root/scripts/wine-env.sh"
  ensure_wineprefix
  rm -rf "$work"
  mkdir -p "$work/state"
  install_mixer "$work/shipped"
  install_mixer "$work/big" 32
  # Windows need a wineserver that runs under the display: end the one of the preparations.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --in-display
fi

. "$root/scripts/wine-env.sh"
export SONARIX_SIM_STATE=mixerbench
export SONARIX_SIM_STATE_DIR="$(winpath "$work/state")"
tools="$build/tools/mixerbench"
results="$work/results"
mkdir -p "$results"
wineserver -p
wine cmd /c exit >/dev/null 2>&1 </dev/null
trap 'wineserver -k 2>/dev/null || true' EXIT

sim() { wine "$build/simdriver/sonarixsim.exe" "$@" | tr -d '\r' >/dev/null; }
probe() { wine "$tools/mixerprobe.exe" "$@" | tr -d '\r'; }
floor() { wine "$tools/mixerfloor.exe" "$@" | tr -d '\r'; }
record() { echo "$2" >>"$results/$1"; }
last() { tail -n1 "$results/$1"; }

# The processor time of the Linux processes behind the mixer and the wineserver: Wine gives
# no other process's times. The programs read /proc themselves, from these ids.
process_cpu_ms() {
  sed 's/.*) //' "/proc/$1/stat" | awk -v hz="$(getconf CLK_TCK)" '{ print ($12 + $13) * 1000 / hz }'
}
# The wineserver of this prefix works in a folder named after the prefix's device and inode.
server_folder=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
for process in $(pgrep wineserver); do
  [[ "$(readlink "/proc/$process/cwd")" == */"$server_folder" ]] && export MIXERBENCH_SERVER_PID=$process
done
[ -n "${MIXERBENCH_SERVER_PID:-}" ] || { echo "== bench: no wineserver of $WINEPREFIX" >&2; exit 1; }

# Starts the mixer of `folder` over one new device of `counts` and waits for its matrix.
start_mixer() {
  local folder=$1 counts=$2 process
  sim reset --empty
  sim plug "$counts"
  wine "$folder/dspmixer.exe" >/dev/null 2>&1 &
  mixer_job=$!
  probe wait "$title" "$(matrix_windows "$counts")" >/dev/null
  unset MIXERBENCH_MIXER_PID
  for process in /proc/[0-9]*; do
    if cat "$process/cmdline" 2>/dev/null | tr '\0' '\n' | head -n1 | grep -qxF "$folder/dspmixer.exe"; then
      export MIXERBENCH_MIXER_PID=${process#/proc/}
    fi
  done
  [ -n "${MIXERBENCH_MIXER_PID:-}" ] || { echo "== bench: no process of the mixer" >&2; exit 1; }
}

stop_mixer() {
  wine "$1/dspmixer.exe" -exitall >/dev/null 2>&1 || true
  wait "$mixer_job" || true
}

# Keeps a program's figures under `name`: elapsed_ms (or KEY_ms), its processor time and the
# wineserver's.
keep() {
  local name=$1 key=$2 out=$3
  record "$name" "$(echo "$out" | sed -n "s/^${key}_ms=//p")"
  record "$name.cpu" "$(echo "$out" | sed -n "s/^${4:-$key}_ms=//p")"
  record "$name.server" "$(echo "$out" | sed -n "s/^${5:-$key}_ms=//p")"
}

# One round: the mixer's teardown, the floor while the mixer shows its panel, the rebuild.
change_round() {
  local name=$1 counts=$2 out
  out=$(probe unplug "$title")
  keep "$name.teardown" elapsed "$out" cpu server
  out=$(floor build "$counts")
  keep "$name.floor_build" build "$out" build_cpu build_server
  keep "$name.floor_destroy" destroy "$out" destroy_cpu destroy_server
  out=$(probe reconnect "$title" "$(matrix_windows "$counts")")
  keep "$name.build" elapsed "$out" cpu server
  echo "   round: build $(last "$name.build") ms (floor $(last "$name.floor_build")), teardown" \
    "$(last "$name.teardown") ms (floor $(last "$name.floor_destroy"))"
}

# One round: the mixer's meters for a span, then the floor's while the mixer shows its panel.
cpu_round() {
  local counts=$1 out mixer server
  mixer=$(process_cpu_ms "$MIXERBENCH_MIXER_PID")
  server=$(process_cpu_ms "$MIXERBENCH_SERVER_PID")
  sleep "$cpu_seconds"
  record meters.cpu "$(awk -v a="$(process_cpu_ms "$MIXERBENCH_MIXER_PID")" -v b="$mixer" 'BEGIN { print a - b }')"
  record meters.server "$(awk -v a="$(process_cpu_ms "$MIXERBENCH_SERVER_PID")" -v b="$server" 'BEGIN { print a - b }')"
  probe unplug "$title" >/dev/null
  # Meanwhile the mixer shows its panel: what it spends without meters (the driver library's
  # notification thread, for one).
  mixer=$(process_cpu_ms "$MIXERBENCH_MIXER_PID")
  out=$(floor meters "$counts" "$cpu_seconds")
  record meters_idle.cpu "$(awk -v a="$(process_cpu_ms "$MIXERBENCH_MIXER_PID")" -v b="$mixer" 'BEGIN { print a - b }')"
  record meters_floor.cpu "$(echo "$out" | sed -n 's/^meters_cpu_ms=//p')"
  record meters_floor.server "$(echo "$out" | sed -n 's/^meters_server_ms=//p')"
  record meters_floor.ticks "$(echo "$out" | sed -n 's/^ticks=//p')"
  probe reconnect "$title" "$(matrix_windows "$counts")" >/dev/null
  echo "   round: mixer $(last meters.cpu) ms (wineserver $(last meters.server)), floor" \
    "$(last meters_floor.cpu) ms (wineserver $(last meters_floor.server))"
}

echo "== bench: 20 x 20 (counts $small_counts), $rounds rounds"
start_mixer "$work/shipped" "$small_counts"
for _ in $(seq "$rounds"); do change_round small "$small_counts"; done

echo "== bench: meter requests of the running mixer over $cpu_seconds s"
probe requests "$title" "$cpu_seconds" >"$results/requests"
echo "== bench: processor time over $cpu_seconds s, $rounds rounds"
for _ in $(seq "$rounds"); do cpu_round "$small_counts"; done
stop_mixer "$work/shipped"

echo "== bench: heap allocations of the window in-process over $cpu_seconds s"
sim reset --empty
sim plug "$small_counts"
wine "$tools/mixertick.exe" "$(winpath "$build/simdriver/sonarixapi.dll")" "$cpu_seconds" |
  tr -d '\r' >"$results/ticks"

if [ "$big_rounds" -gt 0 ]; then
  echo "== bench: 96 x 96 (counts $big_counts), $big_rounds rounds"
  start_mixer "$work/big" "$big_counts"
  for _ in $(seq "$big_rounds"); do change_round big "$big_counts"; done
  stop_mixer "$work/big"
fi

echo "== bench: load average $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) CPUs"
echo "medians in ms; processor time of the program and of the wineserver beside the wall time"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2fx", a / b; else print "n/a" }'; }
# One line: the mixer's step beside the floor's, wall time ratio against `goal`.
compare() {
  local label=$1 mine=$2 floor=$3 goal=$4
  [ -f "$results/$mine" ] || return 0
  local wall floor_wall
  wall=$(median <"$results/$mine")
  floor_wall=$(median <"$results/$floor")
  printf '%-34s %7s (cpu %5s, server %5s)  floor %7s (cpu %5s, server %5s)  %s%s\n' "$label" \
    "$wall" "$(median <"$results/$mine.cpu")" "$(median <"$results/$mine.server")" \
    "$floor_wall" "$(median <"$results/$floor.cpu")" "$(median <"$results/$floor.server")" \
    "$(ratio "$wall" "$floor_wall")" "${goal:+  (goal <= $goal)}"
}
compare "20 x 20 plug-in to painted matrix" small.build small.floor_build 1.25x
compare "20 x 20 unplug to no-device panel" small.teardown small.floor_destroy ""
compare "96 x 96 plug-in to painted matrix" big.build big.floor_build 1.25x
compare "96 x 96 unplug to no-device panel" big.teardown big.floor_destroy ""
value() { sed -n "s/^$1=//p" "$results/$2"; }
echo "meters: $(value requests requests) requests in $(value seconds requests) s" \
  "($(value per_second requests) a second); of the last $(value kept requests) kept," \
  "$(value level_reads requests) level reads of the mixer, $(value others requests) others"
echo "in-process: $(value ticks ticks) ticks, $(value requests ticks) requests" \
  "($(value requests_per_tick ticks) a tick), $(value allocations ticks) heap allocations" \
  "($(value allocations_per_tick ticks) a tick); the tick's handler alone:" \
  "$(value handler_allocations ticks) in $(value direct_ticks ticks) calls"
cpu=$(median <"$results/meters.cpu")
cpu_floor=$(median <"$results/meters_floor.cpu")
printf 'processor time over %s s, 20 x 20 with meters: mixer %s ms (server %s)  floor %s ms (server %s)  %s  (goal <= 1.00x)\n' \
  "$cpu_seconds" "$cpu" "$(median <"$results/meters.server")" "$cpu_floor" \
  "$(median <"$results/meters_floor.server")" "$(ratio "$cpu" "$cpu_floor")"
echo "the mixer without meters (no-device panel, while the floor ran): $(median <"$results/meters_idle.cpu") ms"
