#!/usr/bin/env bash
# Installs what is missing, builds TAFU and runs every test headless under Xvfb, each parallel
# slot on an X server of its own: every test on the normal build; the rules, the screens, the
# fuzzers' old finds and a few journeys of the real game again on a build with
# AddressSanitizer and UndefinedBehaviorSanitizer; the sound and frame-loop tests on a build
# with ThreadSanitizer; then it fuzzes every reader of outside bytes for a few seconds each.
# The web page is built too, for the browser test. The time of each stage closes the run.
set -euo pipefail
cd "$(dirname "$0")"

started=$(date +%s)
timings=()
failures=()
ctest_logs=$(mktemp -d)
passed=0
failed=0

# Prints the time each stage took, the total and the tests counted, and ends the run.
finish() {
  echo
  echo "== Time of each stage"
  printf '%s\n' "${timings[@]}"
  printf '%-58s %5d s\n' "Total" $(($(date +%s) - started))
  local log
  for log in "$ctest_logs"/*.log; do
    [ -e "$log" ] || continue
    local summary
    summary=$(sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\)$/\1 \2/p' "$log" | tail -n 1)
    if [ -n "$summary" ]; then
      read -r bad all <<<"$summary"
      passed=$((passed + all - bad))
      failed=$((failed + bad))
    fi
  done
  rm -rf "$ctest_logs"
  if ((${#failures[@]})); then echo "Failed: ${failures[*]}"; fi
  echo "Tests: $passed passed, $failed failed"
  if ((${#failures[@]})); then exit 1; fi
  exit 0
}

# Runs one stage and notes its time; false when it failed.
stage() {
  local name=$1 begun status=0
  shift
  begun=$(date +%s)
  echo "== $name"
  "$@" || status=$?
  timings+=("$(printf '%-58s %5d s' "$name" $(($(date +%s) - begun)))")
  if ((status)); then failures+=("$name"); fi
  return "$status"
}

# A ctest run whose closing summary is counted at the end.
tests() {
  local log="$ctest_logs/${#timings[@]}.log"
  run_ctest "$@" --output-on-failure 2>&1 | tee "$log"
  return "${PIPESTATUS[0]}"
}

# The sanitizers' build makes only what runs there (below): the game, its files, the unit and
# screen tests and the journeys' programs.
build_sanitize() {
  cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAFU_BUILD_TESTS=ON -DTAFU_BUILD_BENCH=OFF \
    -DTAFU_SANITIZE=ON >/dev/null
  cmake --build build-sanitize -j "$(nproc)" --target tafu tafu_assets tafu_unit_and_screen_tests e2e_test \
    e2e_command_line_test e2e_grown_ups_test
}

build_tsan() {
  # ThreadSanitizer watches the threads the game runs: the music feeder beside the frame loop.
  cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAFU_BUILD_TESTS=ON -DTAFU_BUILD_BENCH=OFF \
    -DTAFU_SANITIZE_THREAD=ON >/dev/null
  cmake --build build-tsan -j "$(nproc)" --target sound_playback_test sound_levels_test window_test frame_test
}

stage "Set-up and the normal build" \
  scripts/setup.sh build -DTAFU_BUILD_TESTS=ON -DTAFU_WEB_TESTS=ON -DTAFU_BUILD_BENCH=OFF || finish
stage "The build with sanitizers" build_sanitize || finish
stage "The build with ThreadSanitizer" build_tsan || finish
# The web page, which the browser test of the normal build opens in headless chromium.
stage "The web page" ./web.sh --build || finish

source scripts/xvfb.sh
start_xvfb

export SDL_VIDEODRIVER=x11
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Mesa's software driver is loaded for good, so that what it allocates is still known by
# name when the leak check runs (a driver unloaded at exit leaves nameless reports).
gl_driver=$(find /usr/lib -name swrast_dri.so -print -quit)
sanitized_tests() {
  LD_PRELOAD=$gl_driver ASAN_OPTIONS=$ASAN_OPTIONS:verify_asan_link_order=0 tests build-sanitize "$@"
}
# The rules and screens, and the real game from start to end on the paths that reach the
# most code: a start, a play-through, the command line, the export of paintings and the
# grown-ups' settings. The other journeys repeat that code through other clicks, and the
# frame rate is no sanitizer's business; they run on the normal build.
# Left out there: a pixel comparison of whole frames and a real-time sound count, which
# reach no code the other screen tests do not (both run on the normal build).
stage "Rules and screens with sanitizers" sanitized_tests -L '^(unit|screen)$' \
  -E '^(Window\.AScaledFrameShown|SlidePuzzle\.HoldingAnArrow)' || true
stage "Journeys with sanitizers" sanitized_tests -R '^(Startup|PlayThrough|CommandLine|ExportPaintings|GrownUpSettings)\.' \
  -E '^Startup\.CountsTheFrames' || true

# The frames' pixel comparisons run on one thread and are left to the normal build.
threaded_tests() {
  TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp halt_on_error=1" tests build-tsan \
    -R '^(Music|Effects|SoundDevice|ScanWave|VolumeTable|PanTable|MasterVolumes|Window|FrameWindowTest|FpsCounter|FrameTime)\.' \
    -E '^Window\.(AScaledFrameShown|AFrameDrawnOverTheKeptLayer)'
}
stage "Sound and frame-loop tests with ThreadSanitizer" threaded_tests || true

stage "Fuzzing" ./fuzz.sh 8 || true

stage "Tests" tests build || true

finish
