#!/usr/bin/env bash
# Times the stub as a user runs it against Debian's native 7zz: the shipped stub packed with a
# 256 MB payload (half compressible text, half random bytes, solid LZMA2 + BCJ, 7zz's
# multithreaded settings) and a document that extracts with no dialogs, started under Wine with
# a persistent wineserver and timed from start to exit, against `7zz x` of the same archive.
# Both run in turn for several rounds; the medians, Wine's fixed start cost (the same stub with
# a tiny archive) and the ratio against the 1.0x goal are printed, and both outputs compared.
# Each build that the host can run is timed in the same run, in a prefix of its own width: the
# 32-bit stub and the x64 stub where the kernel runs 32-bit code, else the x64 stub only.
#
#   bench-extract.sh [ARCHIVE]   times ARCHIVE (a .7z file) instead of making the payload
#
# VT_BENCH_ROUNDS sets the rounds (default 5), VT_TREES the builds (scripts/host.sh). Work
# files go to a temporary folder ($VT_BENCH_DIR if set) that is removed at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds="${VT_BENCH_ROUNDS:-5}"
payload_mb=256
archive_arg=${1:+$(realpath "$1")}

. "$root/scripts/host.sh"
vt_say_host
VT_BUILD_TREES="$VT_TREES" bash "$root/scripts/build.sh" sfxrunner sfxpack

if [ -n "${VT_BENCH_DIR:-}" ]; then
  work="$VT_BENCH_DIR"
  mkdir -p "$work"
else
  work=$(mktemp -d "${TMPDIR:-/tmp}/bench-extract.XXXXXX")
fi
trap 'rm -rf "$work"' EXIT

make_payload() {
  local folder=$1
  mkdir -p "$folder"
  python3 - "$folder" "$payload_mb" <<'PY'
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
}

archive="$work/payload.7z"
if [ -n "$archive_arg" ]; then
  echo "== bench: timing $archive_arg"
  ln -s "$archive_arg" "$archive"
else
  echo "== bench: making the ${payload_mb} MB payload and archiving it (solid LZMA2 + BCJ, multithreaded)"
  make_payload "$work/payload"
  (cd "$work/payload" && 7zz a -t7z -bd -bso0 -m0=BCJ -m1=LZMA2 -ms=on -mmt=on "$archive" .)
  rm -rf "$work/payload"
fi
mkdir -p "$work/tiny"
printf 'a tiny payload: what the stub costs before and after its work\r\n' >"$work/tiny/readme.txt"
(cd "$work/tiny" && 7zz a -t7z -bd -bso0 "$work/tiny.7z" readme.txt)

winpath() { echo "Z:${1//\//\\}"; }

# A package that extracts into TARGET with both dialogs switched off.
write_document() {
  local file=$1 target=$2
  printf '%s' '<?xml version="1.0" encoding="UTF-8"?>' \
    '<SelfExtractor FormatVersionMajor="2" FormatVersionMinor="0"><Extract>' \
    "<TargetPath>$(winpath "$target")</TargetPath>" \
    '<FolderSelectionDialog><Enabled>false</Enabled></FolderSelectionDialog>' \
    '<ProgressDialog><Enabled>false</Enabled></ProgressDialog>' \
    '</Extract></SelfExtractor>' >"$file"
}
write_document "$work/big.xml" "$work/out-stub"
write_document "$work/tiny.xml" "$work/out-tiny"

# time_tree TREE: the rounds of one build's stub.
time_tree() {
  local VT_TREE=$1
  . "$root/scripts/wine-env.sh"
  ensure_wineprefix
  echo "== bench: the $tree build's stub ($build/sfxrunner/sfxrunner.exe) in a" \
    "${tree_prefix_arch#win}-bit Windows prefix"
  echo "== bench: load average $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) CPUs; $rounds rounds"
  # The stub's windows need a wineserver that runs under the X display; one server serves all
  # runs, as on a user's machine where Wine is already up.
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    work=$1 build=$2 rounds=$3 root=$4
    win() { echo "Z:${1//\//\\}"; }
    wineserver -p
    wine cmd /c exit >/dev/null 2>&1 </dev/null
    pack() {
      wine "$build/tools/sfxpack/sfxpack.exe" --stub "$(win "$build/sfxrunner/sfxrunner.exe")" \
        --config "$(win "$work/$1.xml")" --archive "$(win "$2")" --out "$(win "$work/$1.exe")"
    }
    rc=0
    pack big "$work/payload.7z" && pack tiny "$work/tiny.7z" &&
      python3 "$root/scripts/bench-extract-rounds.py" "$work" "$rounds" "$WINEPREFIX" || rc=$?
    wineserver -k
    exit $rc' _ "$work" "$build" "$rounds" "$root"
}
for timed in $VT_TREES; do time_tree "$timed"; done
