#!/usr/bin/env bash
# Builds the fuzz targets (preset fuzz: clang's libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a fixed time on a fresh copy of its seed corpus
# fuzz/corpus/TARGET. Fails when a target crashes, leaks or hangs; the input that did it is left
# in build/fuzz/runs/TARGET/ with the target's log.
#   scripts/fuzz.sh [SECONDS] [TARGET...]    30 s each, every target when none is named
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=30
if [[ ${1:-} =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for corpus in fuzz/corpus/*/; do targets+=("$(basename "$corpus")"); done
fi
for target in "${targets[@]}"; do
  if [ ! -d "fuzz/corpus/$target" ]; then
    echo "fuzz.sh: no target $target (the targets are the folders of fuzz/corpus)" >&2
    exit 2
  fi
done

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

failed=()
for target in "${targets[@]}"; do
  run=build/fuzz/runs/$target
  rm -rf "$run"
  mkdir -p "$run/corpus"
  cp "fuzz/corpus/$target"/* "$run/corpus/"
  # A single input that takes 10 s counts as a hang.
  if build/fuzz/fuzz/"fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$run/" "$run/corpus" >"$run/log" 2>&1; then
    inputs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/log")
    echo "fuzz $target: ${inputs:-?} inputs in $seconds s, nothing found"
  else
    echo "fuzz $target: FAILED, see $run/log and the input left in $run/"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|artifact_prefix)' "$run/log" || tail -20 "$run/log"
    failed+=("$target")
  fi
done
[ ${#failed[@]} -eq 0 ] || {
  echo "fuzz.sh: ${failed[*]} failed" >&2
  exit 1
}
