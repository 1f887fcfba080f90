#!/usr/bin/env bash
# Makes docs/demo.png, the README's picture of the demo: builds what is
# missing, starts quorin SIMULATE_DATA on a virtual X screen of 1600 x 900
# with factory settings in a throwaway home folder, answers the demo's model
# question with OK, lets the strips fill and photographs the screen. It
# stops everything it started and leaves the user's own settings alone.
#
#   scripts/make-screenshot.sh [output.png]
#
# Needs Xvfb, xdotool and ImageMagick (Debian: xvfb xdotool imagemagick).
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-docs/demo.png}
width=1600 height=900 shown_width=1280
# Seconds the demo runs before the picture: both ECG rows sweep across
# once after the beat detector has settled, so every beat carries its marker.
fill_seconds=${SCREENSHOT_WAIT:-45}

missing=()
for tool in Xvfb xdotool import convert; do
  command -v "$tool" > /dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "Missing ${missing[*]}: install the Debian packages xvfb xdotool imagemagick." >&2
  exit 1
fi

build=${BUILD_DIR:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j"$(nproc)" --target quorin

scratch=$(mktemp -d)
xvfb_pid='' quorin_pid=''
cleanup() {
  [ -n "$quorin_pid" ] && kill "$quorin_pid" 2> /dev/null && wait "$quorin_pid" 2> /dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null && wait "$xvfb_pid" 2> /dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

# The display SCREENSHOT_DISPLAY names (":89"), else a free one that Xvfb
# picks and writes to the pipe.
screen=(-screen 0 "${width}x${height}x24" -nolisten tcp)
if [ -n "${SCREENSHOT_DISPLAY:-}" ]; then
  Xvfb "$SCREENSHOT_DISPLAY" "${screen[@]}" > "$scratch/xvfb.log" 2>&1 &
  xvfb_pid=$!
  export DISPLAY=$SCREENSHOT_DISPLAY
else
  mkfifo "$scratch/display"
  Xvfb -displayfd 3 "${screen[@]}" 3> "$scratch/display" > "$scratch/xvfb.log" 2>&1 &
  xvfb_pid=$!
  read -r -t 10 number < "$scratch/display" || { echo "Xvfb did not start:" >&2; cat "$scratch/xvfb.log" >&2; exit 1; }
  export DISPLAY=":$number"
fi
# The screen answers once the server runs.
for _ in $(seq 50); do
  xdotool getdisplaygeometry > /dev/null 2>&1 && break
  kill -0 "$xvfb_pid" 2> /dev/null || { echo "Xvfb ended:" >&2; cat "$scratch/xvfb.log" >&2; exit 1; }
  sleep 0.2
done

# Factory settings, documents and logs in the throwaway folder.
mkdir -m 700 "$scratch/run"
env -u ZELBEX_DEVICE_LIST HOME="$scratch" XDG_CONFIG_HOME="$scratch/.config" \
  XDG_DOCUMENTS_DIR="$scratch/Documents" XDG_RUNTIME_DIR="$scratch/run" QT_QPA_PLATFORM=xcb \
  "$build/quorin" SIMULATE_DATA > "$scratch/quorin.log" 2>&1 &
quorin_pid=$!

# The first window of that name; there is no window manager to wait for.
wait_for_window() {
  local name=$1 id
  for _ in $(seq 60); do
    kill -0 "$quorin_pid" 2> /dev/null || { echo "quorin ended:" >&2; cat "$scratch/quorin.log" >&2; exit 1; }
    id=$(xdotool search --onlyvisible --name "$name" 2> /dev/null | head -n1) || true
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.5
  done
  echo "No window \"$name\" within 30 s." >&2
  exit 1
}

dialog=$(wait_for_window '^Demo Configuration$')
xdotool windowfocus --sync "$dialog" key Return
wait_for_window '^Patient ID: ' > /dev/null
sleep "$fill_seconds"

mkdir -p "$(dirname "$out")"
import -display "$DISPLAY" -window root "$scratch/screen.png"
# A palette of 256 colours holds the flat colours of the screen and halves
# the file.
convert "$scratch/screen.png" -resize "${shown_width}x" -colors 256 -strip "PNG8:$out"
echo "Wrote $out"
