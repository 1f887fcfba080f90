#!/usr/bin/env bash
# Fresh machine to a running quorin in demo mode.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"
if [ ! -x "$build/quorin" ]; then
  echo "quorin has no program to start yet: the main frame is not built. Run scripts/run-tests.sh for the tests." >&2
  exit 1
fi
exec "$build/quorin" SIMULATE_DATA "$@"
