#!/usr/bin/env bash
# Installs what is missing, builds TAFU with its pictures and sounds, and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh build -DTAFU_BUILD_TESTS=OFF -DTAFU_BUILD_BENCH=OFF
exec ./build/tafu
