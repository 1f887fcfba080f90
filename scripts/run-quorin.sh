#!/usr/bin/env bash
# Fresh machine to a running quorin in demo mode: installs the missing Debian
# packages, builds, and starts the program with SIMULATE_DATA. Extra
# arguments go to quorin.
set -euo pipefail
cd "$(dirname "$0")/.."

# Without a display Qt aborts with advice that does not help; say it first.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "quorin needs a display: run this in a desktop session, or headless as QT_QPA_PLATFORM=offscreen $0" >&2
  exit 1
fi

scripts/install-deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"
if [ ! -x "$build/quorin" ]; then
  echo "The build made no $build/quorin; see the build output above." >&2
  exit 1
fi
echo "Starting $build/quorin SIMULATE_DATA"
exec "$build/quorin" SIMULATE_DATA "$@"
