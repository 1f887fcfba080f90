#!/usr/bin/env bash
# The demo's cost as a user sees it: starts a private Xvfb screen, runs
# `quorin SIMULATE_DATA` on it full screen, answers the "Demo Configuration"
# dialog with its default, lets the view settle and prints the user + system
# CPU time of the whole process over the sampling period, in % of one core.
#
#   scripts/measure-demo-cpu.sh [--size 1920x1080] [--seconds 10] [--settle 5]
#                               [--runs 1] [--build build] [--shot FILE.png]
#
# Settings are written under a scratch HOME, never the user's. Needs Xvfb,
# xdotool and (for --shot) ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."

size=1920x1080
seconds=10
settle=5
runs=1
build=${BUILD_DIR:-build}
shot=
while [ $# -gt 0 ]; do
  case "$1" in
    --size) size=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --settle) settle=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --shot) shot=$2; shift 2 ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
done
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (apt-get install xvfb xdotool)" >&2; exit 1; }
done
[ -x "$build/quorin" ] || { echo "no $build/quorin: build first" >&2; exit 1; }

scratch=$(mktemp -d)
xvfb_pid=
quorin_pid=
cleanup() {
  [ -n "$quorin_pid" ] && kill "$quorin_pid" 2>/dev/null && wait "$quorin_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to the pipe.
exec 3> >(cat > "$scratch/display")
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 50); do
  [ -s "$scratch/display" ] && break
  sleep 0.1
done
[ -s "$scratch/display" ] || { echo "Xvfb did not start:" >&2; cat "$scratch/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(tr -d '[:space:]' < "$scratch/display")"

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

for run in $(seq "$runs"); do
  mkdir -p "$scratch/home$run"
  HOME="$scratch/home$run" XDG_RUNTIME_DIR="$scratch" "$build/quorin" SIMULATE_DATA >"$scratch/quorin.log" 2>&1 &
  quorin_pid=$!
  # The demo asks which remote it plays; OK keeps the default.
  # (xdotool's own --sync gives up when a window goes while it looks.)
  dialog=
  for _ in $(seq 60); do
    dialog=$(xdotool search --onlyvisible --name "^Demo Configuration$" 2>/dev/null | head -1) || true
    [ -n "$dialog" ] && break
    sleep 0.5
  done
  [ -n "$dialog" ] || { echo "the Demo Configuration dialog did not appear:" >&2; cat "$scratch/quorin.log" >&2; exit 1; }
  # Until it goes: a key sent while it is still being mapped is lost.
  for _ in $(seq 20); do
    sleep 0.5
    xdotool key --window "$dialog" Return 2>/dev/null || true
    xdotool search --onlyvisible --name "^Demo Configuration$" >/dev/null 2>&1 || break
  done
  sleep "$settle"
  before=$(cpu_ticks "$quorin_pid")
  sleep "$seconds"
  after=$(cpu_ticks "$quorin_pid")
  [ -n "$shot" ] && import -display "$DISPLAY" -window root "$shot"
  awk -v d="$((after - before))" -v t="$ticks_per_second" -v s="$seconds" -v r="$run" -v z="$size" \
    'BEGIN { printf "run %d: quorin SIMULATE_DATA at %s: %.1f %% of a core (user + system over %d s)\n", r, z, 100 * d / t / s, s }'
  kill "$quorin_pid"
  wait "$quorin_pid" 2>/dev/null || true
  quorin_pid=
done
