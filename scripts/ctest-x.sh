#!/usr/bin/env bash
# The tests of a built tree, headless, each slot on an X server of its own.
# Usage: scripts/ctest-x.sh [BUILD] [ctest arguments...]
#   scripts/ctest-x.sh build -L 'unit|screen'   the quick loop: rules and screens, under a minute
#   scripts/ctest-x.sh build -L e2e             the real game under real X events
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
source scripts/xvfb.sh
start_xvfb
export SDL_VIDEODRIVER=x11
export SDL_AUDIODRIVER=dummy
run_ctest "$build" --output-on-failure "$@"
