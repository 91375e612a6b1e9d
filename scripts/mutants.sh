#!/usr/bin/env bash
# Mutation check: plants each fault of scripts/mutants.txt in the source, one at a time,
# rebuilds only the test programs that fault names, runs the tests that should notice it,
# puts the file back byte for byte and says whether the fault was caught or survived.
# Ends with the share caught and the survivors.
#
# Usage: scripts/mutants.sh [--build DIR] [--baseline] [fault names...]
#   --build DIR   build folder of its own (default build-mutants), configured with the
#                 tests on; build/ is never touched
#   --baseline    first run every selection on the clean source (each must pass)
#   fault names   run only these faults of the list
# A fault of the web page names the target "site": ./web.sh --build makes build-web/site
# again for it, and once more from the clean source at the end.
# Exit status: 0 when every fault was caught, 1 when some survived, 2 on a bad list,
# a build folder without tests, a fault that does not build or a baseline that fails.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-mutants
baseline=false
list=scripts/mutants.txt
wanted=()
while (($#)); do
  case $1 in
    --build) build=$2; shift 2 ;;
    --baseline) baseline=true; shift ;;
    -h|--help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) wanted+=("$1"); shift ;;
  esac
done

# The list, one fault a line: name, file, find, replace, targets, tests (fields separated by
# the unit separator, so that any text of the source can stand in find and replace).
parse_list() {
  python3 - "$list" "$@" <<'EOF'
import sys
path, wanted = sys.argv[1], set(sys.argv[2:])
faults, current, keys = [], None, ("file", "find", "replace", "targets", "tests")
for number, line in enumerate(open(path, encoding="utf-8"), 1):
    line = line.rstrip("\n")
    if not line.strip() or line.startswith("#"):
        continue
    if line.startswith("[") and line.endswith("]"):
        current = {"name": line[1:-1]}
        faults.append(current)
        continue
    key, sep, value = line.partition(" =")
    if current is None or not sep or key not in keys:
        sys.exit(f"{path}:{number}: expected [name] or one of {', '.join(keys)} = ...")
    current[key] = value[1:] if value.startswith(" ") else value
names = [f["name"] for f in faults]
for f in faults:
    missing = [k for k in keys if k not in f or (k != "replace" and not f[k])]
    if missing:
        sys.exit(f"{path}: fault [{f['name']}] lacks {', '.join(missing)}")
    if names.count(f["name"]) > 1:
        sys.exit(f"{path}: fault [{f['name']}] is named twice")
    text = open(f["file"], encoding="utf-8").read()
    if text.count(f["find"]) != 1:
        sys.exit(f"{path}: fault [{f['name']}]: the text to find occurs {text.count(f['find'])} times in {f['file']}")
unknown = wanted - set(names)
if unknown:
    sys.exit(f"{path}: no fault named {', '.join(sorted(unknown))}")
for f in faults:
    if not wanted or f["name"] in wanted:
        print("\x1f".join([f["name"]] + [f[k] for k in keys]))
EOF
}

# Replaces the one occurrence of find in file by replace.
plant() {
  python3 - "$@" <<'EOF'
import sys
path, find, replace = sys.argv[1:4]
data = open(path, "rb").read()
old, new = find.encode(), replace.encode()
if data.count(old) != 1:
    sys.exit(f"{path}: the text to find is not there exactly once")
open(path, "wb").write(data.replace(old, new, 1))
EOF
}

faults=$(parse_list "${wanted[@]}") || exit 2

# A build folder configured without tests finds no tests, and no tests always pass.
if [ ! -f "$build/CMakeCache.txt" ]; then
  echo "== Configuring $build"
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAFU_BUILD_TESTS=ON -DTAFU_BUILD_BENCH=OFF >/dev/null
fi
# Faults of the web page need the browser test.
if cut -d $'\x1f' -f 5 <<<"$faults" | grep -qw site && ! grep -q '^TAFU_WEB_TESTS:BOOL=ON$' "$build/CMakeCache.txt"; then
  cmake -S . -B "$build" -DTAFU_WEB_TESTS=ON >/dev/null
fi
if ! grep -q '^TAFU_BUILD_TESTS:BOOL=ON$' "$build/CMakeCache.txt"; then
  echo "$build is configured without tests (TAFU_BUILD_TESTS is not ON): every fault would pass." >&2
  echo "Reconfigure it with -DTAFU_BUILD_TESTS=ON or use --build with another folder." >&2
  exit 2
fi

echo "== Building $build"
cmake --build "$build" -j2 >/dev/null

source scripts/xvfb.sh
start_xvfb
export SDL_VIDEODRIVER=x11
export SDL_AUDIODRIVER=dummy

# The file under a fault and its clean copy; put back on every way out, Ctrl-C included.
planted=""
backup=$(mktemp)
restore() {
  if [ -n "$planted" ]; then
    cat "$backup" >"$planted"
    planted=""
  fi
}
cleanup() {
  restore
  rm -f "$backup"
  kill "${XVFB_PIDS[@]}" 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# Builds a fault's targets; "site" is the web page.
web_built=false
build_targets() {
  local target cmake_targets=()
  for target in $1; do
    if [ "$target" = site ]; then
      ./web.sh --build || return 1
      web_built=true
    else
      cmake_targets+=("$target")
    fi
  done
  ((${#cmake_targets[@]} == 0)) || cmake --build "$build" -j2 --target "${cmake_targets[@]}"
}

# Runs the tests of a selection; prints how many ran and returns ctest's status.
run_tests() {
  local regex=$1 log=$2
  run_ctest "$build" -R "$regex" --stop-on-failure --output-on-failure >"$log" 2>&1
}

count_tests() {
  ctest --test-dir "$build" -N -R "$1" | sed -n 's/^Total Tests: //p'
}

logs=$build/mutants
mkdir -p "$logs"

if $baseline; then
  echo "== Baseline: every selection on the clean source"
  while IFS=$'\x1f' read -r -u 3 name file find replace targets tests; do
    build_targets "$targets" >"$logs/baseline-$name.log" 2>&1
    if ! run_tests "$tests" "$logs/baseline-$name.log"; then
      echo "The clean source fails the tests of [$name] ($tests): see $logs/baseline-$name.log" >&2
      exit 2
    fi
  done 3<<<"$faults"
fi

total=$(grep -c . <<<"$faults")
caught=0
number=0
survivors=()
broken=()
started=$(date +%s)
echo "== Planting $total faults (logs in $logs)"
while IFS=$'\x1f' read -r -u 3 name file find replace targets tests; do
  number=$((number + 1))
  tests_run=$(count_tests "$tests")
  if [ "${tests_run:-0}" -eq 0 ]; then
    printf '[%2d/%d] %-9s %-28s %s: no test matches %s\n' "$number" "$total" "NO TESTS" "$name" "$file" "$tests"
    broken+=("$name")
    continue
  fi
  cp "$file" "$backup"
  planted=$file
  plant "$file" "$find" "$replace"
  log=$logs/$name.log
  fault_started=$(date +%s)
  if ! build_targets "$targets" >"$log" 2>&1; then
    verdict="NO BUILD"
    broken+=("$name")
  elif run_tests "$tests" "$log"; then
    verdict="survived"
    survivors+=("$name")
  else
    verdict="caught"
    caught=$((caught + 1))
  fi
  restore
  printf '[%2d/%d] %-9s %-28s %s (%d tests, %ds)\n' "$number" "$total" "$verdict" "$name" "$file" \
    "$tests_run" "$(($(date +%s) - fault_started))"
done 3<<<"$faults"

# The build folder, and the web page when a fault changed it, are left built from the clean source.
cmake --build "$build" -j2 >/dev/null || true
if $web_built; then ./web.sh --build >/dev/null || true; fi

scored=$((total - ${#broken[@]}))
echo
echo "Caught $caught of $scored faults ($(python3 -c "print(f'{100 * $caught / max($scored, 1):.1f}')") %)" \
  "in $((($(date +%s) - started) / 60)) minutes"
if ((${#survivors[@]})); then echo "Survived: ${survivors[*]}"; fi
if ((${#broken[@]})); then
  echo "Not scored (the fault does not build or no test matches): ${broken[*]}" >&2
  exit 2
fi
((${#survivors[@]} == 0))
