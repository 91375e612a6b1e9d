#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer) in
# build-fuzz and runs each of them for the given number of seconds (default 60), as many at
# once as there are cores.
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

# Fuzzes one target; its output goes to its log, and a summary or the failure is printed.
fuzz_one() {
  local target=$1
  mkdir -p "$fuzz/found/$target"
  # The readers report bad files on standard error by design: that output is closed,
  # the fuzzer's and the sanitizers' own reports still come through.
  if ! "$fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
      -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$fuzz/crashes/$target-" \
      "$fuzz/found/$target" "$fuzz/corpus/$target" 2>"$fuzz/$target.log"; then
    echo "== Fuzzing $target for ${seconds}s broke"
    tail -n 40 "$fuzz/$target.log"
    return 1
  fi
  echo "== Fuzzing $target for ${seconds}s:" \
    "$(grep -E '^stat::number_of_executed_units|^stat::new_units_added' "$fuzz/$target.log" | tr '\n' ' ')"
}

# One target a core at a time.
failed=()
running=()
for target in "${targets[@]}"; do
  fuzz_one "$target" &
  running+=("$!:$target")
  if ((${#running[@]} >= $(nproc))); then
    entry=${running[0]}
    running=("${running[@]:1}")
    wait "${entry%%:*}" || failed+=("${entry#*:}")
  fi
done
for entry in "${running[@]}"; do
  wait "${entry%%:*}" || failed+=("${entry#*:}")
done

if ((${#failed[@]})); then
  echo "Fuzzing broke: ${failed[*]} (inputs in $fuzz/crashes, logs in $fuzz/<target>.log)" >&2
  exit 1
fi
