#!/usr/bin/env bash
# Installs what is missing, builds TAFU and runs every test headless under Xvfb: once on the
# normal build, once more on a build with AddressSanitizer and UndefinedBehaviorSanitizer,
# the sound and frame-loop tests on a build with ThreadSanitizer, then fuzzes every reader
# of outside bytes for a few seconds each. The web page is built too, for the browser test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh build -DTAFU_BUILD_TESTS=ON -DTAFU_WEB_TESTS=ON
scripts/setup.sh build-sanitize -DTAFU_BUILD_TESTS=ON -DTAFU_BUILD_BENCH=OFF -DTAFU_SANITIZE=ON
# ThreadSanitizer watches the threads the game runs: the music feeder beside the frame loop.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAFU_BUILD_TESTS=ON -DTAFU_BUILD_BENCH=OFF \
  -DTAFU_SANITIZE_THREAD=ON >/dev/null
cmake --build build-tsan -j "$(nproc)" --target sound_playback_test sound_levels_test window_test frame_test
# The web page, which the browser test of the normal build opens in headless chromium.
./web.sh --build

source scripts/xvfb.sh
start_xvfb

export SDL_VIDEODRIVER=x11
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "== Tests with sanitizers"
# Mesa's software driver is loaded for good, so that what it allocates is still known by
# name when the leak check runs (a driver unloaded at exit leaves nameless reports).
gl_driver=$(find /usr/lib -name swrast_dri.so -print -quit)
# Installing and packaging are the same with or without sanitizers: they run once, below.
LD_PRELOAD=$gl_driver ASAN_OPTIONS=$ASAN_OPTIONS:verify_asan_link_order=0 \
  ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)" -E '^(Installed|DebianPackage)\.'

echo "== Sound and frame-loop tests with ThreadSanitizer"
TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp halt_on_error=1" \
  ctest --test-dir build-tsan --output-on-failure -j "$(nproc)" \
  -R '^(Music|Effects|SoundDevice|ScanWave|VolumeTable|PanTable|MasterVolumes|Window|FrameWindowTest|FpsCounter|FrameTime)\.'

echo "== Fuzzing"
./fuzz.sh 8

echo "== Tests"
ctest --test-dir build --output-on-failure -j "$(nproc)"
