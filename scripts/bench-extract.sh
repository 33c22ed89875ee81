#!/usr/bin/env bash
# Times the stub's extraction against Debian's native 7zz on a 256 MB payload (half
# compressible text, half random bytes) archived solid with LZMA2 + BCJ and 7zz's
# multithreaded settings. Prints both times, MB/s and the ratio; the goal is within 1.25x.
# Work files go to $VT_BENCH_DIR (default build/bench-extract) and are removed at the end.
# The time of (b) is measured inside the program, so Wine's start-up is not counted.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${VT_BUILD_DIR:-$root/build}"
work="${VT_BENCH_DIR:-$build/bench-extract}"
payload_mb=256

echo "== bench: building extractbench"
cmake --build "$build" --target extractbench >/dev/null
. "$root/scripts/wine-env.sh"
ensure_wineprefix

rm -rf "$work"
mkdir -p "$work/payload"
trap 'rm -rf "$work"' EXIT

echo "== bench: making the ${payload_mb} MB payload"
python3 - "$work/payload" "$payload_mb" <<'PY'
import os, random, sys
folder, total_mb = sys.argv[1], int(sys.argv[2])
words = ("driver mixer channel gain matrix device sample rate buffer stream latency "
         "firmware endpoint clock format volume meter").split()
rng = random.Random(1)
file_mb, files = 32, total_mb // 2 // 32
for i in range(files):  # compressible text
    with open(os.path.join(folder, "text%d.txt" % i), "w") as f:
        written = 0
        while written < file_mb << 20:
            line = " ".join(rng.choices(words, k=12)) + " %d\n" % rng.randrange(1 << 30)
            f.write(line)
            written += len(line)
for i in range(files):  # incompressible bytes
    with open(os.path.join(folder, "random%d.bin" % i), "wb") as f:
        f.write(os.urandom(file_mb << 20))
PY
payload_bytes=$(du -sb "$work/payload" | cut -f1)

echo "== bench: archiving (solid LZMA2 + BCJ, multithreaded)"
(cd "$work/payload" && 7zz a -t7z -bd -bso0 -m0=BCJ -m1=LZMA2 -ms=on -mmt=on "$work/payload.7z" .)
cat "$build/tools/extractbench/extractbench.exe" "$work/payload.7z" >"$work/package.exe"

now_ms() { date +%s%3N; }

echo "== bench: native 7zz x"
start=$(now_ms)
7zz x -bd -bso0 -y -o"$work/native" "$work/payload.7z"
native_ms=$(( $(now_ms) - start ))

echo "== bench: ExtractFiles under Wine"
winpath() { echo "Z:${1//\//\\}"; }
result=$(wine "$build/tools/extractbench/extractbench.exe" \
  "$(winpath "$work/package.exe")" "$(winpath "$work/stub")" | tr -d '\r')
echo "$result"
stub_ms=$(echo "$result" | sed -n 's/^elapsed_ms=//p')
if [ -z "$stub_ms" ] || ! echo "$result" | grep -q '^status=0x00000000$'; then
  echo "== bench: the extraction failed" >&2
  exit 1
fi

if diff -r "$work/native" "$work/stub" >/dev/null; then
  echo "== bench: both outputs are identical"
else
  echo "== bench: the outputs differ" >&2
  exit 1
fi
echo "== bench: load average $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) CPUs"
python3 - "$payload_bytes" "$native_ms" "$stub_ms" <<'PY'
import sys
size, native, stub = int(sys.argv[1]), float(sys.argv[2]), float(sys.argv[3])
mb = size / 1048576
print("payload: %.0f MB" % mb)
print("native 7zz x:          %8.0f ms  %7.1f MB/s" % (native, mb / (native / 1000)))
print("ExtractFiles (Wine):   %8.0f ms  %7.1f MB/s" % (stub, mb / (stub / 1000)))
print("ratio stub/native:     %8.2fx  (goal <= 1.25x)" % (stub / native))
PY
