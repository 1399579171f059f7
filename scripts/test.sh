#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
# Usage: scripts/test.sh [--sanitize]
#   --sanitize  builds into build-asan with address and undefined-behaviour sanitizers and runs the
#               same tests there (leak reports off: Qt's plugins keep some allocations until exit).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

if [ "${1:-}" = "--sanitize" ]; then
  build="$here/build-asan"
  bash "$here/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=Debug -DQINTAR_SANITIZE=ON -DQINTAR_BUILD_BENCH=OFF
  export ASAN_OPTIONS=detect_leaks=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  build="$here/build"
  bash "$here/scripts/build.sh" "$build"
fi

export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure --timeout 600 -j "$(nproc)"
