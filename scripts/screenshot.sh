#!/usr/bin/env bash
# Saves a picture of one window of the running X display:
#   screenshot.sh TITLE FILE [SECONDS] [SETTLE]
# Waits up to SECONDS (default 20) for a window of that exact title, lets it run SETTLE more
# seconds (default 0.5: it paints what it was just given), then grabs the whole screen once and
# cuts the window out of it; grabbing a window that does not exist would hold the X server, so
# the window is looked up first. Exit 1 when it never appears.
set -euo pipefail
title=$1 file=$2 seconds=${3:-20} settle=${4:-0.5}
for ((i = 0; i < seconds * 10; i++)); do
  if info=$(xwininfo -name "$title" 2>/dev/null) && grep -q 'Map State: IsViewable' <<<"$info"; then
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/.*Width: *//p' <<<"$info")
    h=$(sed -n 's/.*Height: *//p' <<<"$info")
    sleep "$settle"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$file"
    exit 0
  fi
  sleep 0.1
done
echo "screenshot: no window \"$title\" within ${seconds} s" >&2
exit 1
