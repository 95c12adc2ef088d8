#!/usr/bin/env bash
# Runs every fuzz target of tests/fuzz for SECONDS seconds (default 60), two at a time,
# each from its corpus in tests/fuzz/corpus/<target>. Builds the targets with clang first
# (in build/fuzz, or $VELMARO_FUZZ_BUILD). New inputs go to a temporary folder: the corpus
# in the tree is only read.
# Ends non-zero when a target finds a crash, a hang, a sanitizer report or an
# out-of-memory; the input that shows it is left in the build folder's findings/.
#
#   bash scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build="${VELMARO_FUZZ_BUILD:-build/fuzz}"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMARO_FUZZ=ON -DVELMARO_BUILD_TESTS=OFF -DVELMARO_BUILD_BENCH=OFF > /dev/null
cmake --build "$build" --target fuzzers
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$build/findings"

run() {
  local target=$1
  mkdir -p "$work/$target"
  if "$build"/tests/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -artifact_prefix="$build/findings/$target-" \
      "$work/$target" "tests/fuzz/corpus/$target" > "$work/$target.log" 2>&1; then
    echo "fuzz_$target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$work/$target.log")"
  else
    echo "fuzz_$target: FAILED"
    tail -n 40 "$work/$target.log"
    return 1
  fi
}

failed=0
targets=(tests/fuzz/corpus/*/)
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  pids=()
  for target in "${targets[@]:i:2}"; do
    run "$(basename "$target")" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
  done
done
exit "$failed"
