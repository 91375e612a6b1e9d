#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer) in
# build-fuzz and runs each of them for the given number of seconds (default 60).
# Usage: ./fuzz.sh [seconds per target] [target names...]   e.g. ./fuzz.sh 600 tar ini
# New inputs are kept in build-fuzz/fuzz/found/<target> from run to run; an input that
# breaks a reader is saved as build-fuzz/fuzz/crashes/<target>-crash-... and the run fails.
set -euo pipefail
cd "$(dirname "$0")"

seconds=${1:-60}
shift || true

# Installs what is missing (clang and its runtime included) and builds the game's assets,
# which seed the corpora.
scripts/setup.sh build >/dev/null

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAFU_BUILD_FUZZ=ON -DTAFU_BUILD_TESTS=OFF -DTAFU_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target tafu_fuzz >/dev/null

fuzz=build-fuzz/fuzz
targets=("$@")
if ((${#targets[@]} == 0)); then
  for program in "$fuzz"/fuzz_*; do targets+=("${program##*/fuzz_}"); done
fi

mkdir -p "$fuzz/crashes"
failed=()
for target in "${targets[@]}"; do
  mkdir -p "$fuzz/found/$target"
  echo "== Fuzzing $target for ${seconds}s"
  # The readers report bad files on standard error by design: that output is closed,
  # the fuzzer's and the sanitizers' own reports still come through.
  if ! "$fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
      -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$fuzz/crashes/$target-" \
      "$fuzz/found/$target" "$fuzz/corpus/$target" 2>"$fuzz/$target.log"; then
    failed+=("$target")
    tail -n 40 "$fuzz/$target.log"
  else
    grep -E '^stat::number_of_executed_units|^stat::new_units_added' "$fuzz/$target.log" | tr '\n' ' '
    echo
  fi
done

if ((${#failed[@]})); then
  echo "Fuzzing broke: ${failed[*]} (inputs in $fuzz/crashes, logs in $fuzz/<target>.log)" >&2
  exit 1
fi
