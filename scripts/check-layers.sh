#!/usr/bin/env bash
# The game's layers point one way: engine <- app <- board <- puzzles, studio <- shell.
# Prints every include of a layer above the including file's own, and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

# For each folder, the folders its includes must not name.
declare -A above=(
  [engine]='app|board|puzzles|studio|shell'
  [app]='board|puzzles|studio|shell'
  [board]='puzzles|studio|shell'
  [puzzles]='studio|shell'
  [studio]='puzzles|shell'
)

found=0
for layer in "${!above[@]}"; do
  if grep -rn -E "#include \"(${above[$layer]})/" "$layer"; then found=1; fi
done
if ((found)); then
  echo "includes that point up a layer (above)" >&2
  exit 1
fi
echo "every include points down"
