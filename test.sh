#!/usr/bin/env bash
# Installs what is missing, builds TAFU and runs every test headless under Xvfb.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh build -DTAFU_BUILD_TESTS=ON

source scripts/xvfb.sh
start_xvfb

export SDL_VIDEODRIVER=x11
export SDL_AUDIODRIVER=dummy
ctest --test-dir build --output-on-failure -j "$(nproc)"
