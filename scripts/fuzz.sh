#!/usr/bin/env bash
# Builds the fuzz targets (preset fuzz: clang's libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a fixed time on a fresh copy of its seed corpus
# fuzz/corpus/TARGET, as many at once as there are processors. Fails when a target crashes, leaks
# or hangs; the input that did it is left in build/fuzz/runs/TARGET/ with the target's log.
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

parallel=$(nproc)
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$parallel" --target "${targets[@]/#/fuzz_}"

# Runs one target; its log and its exit status are left in its run folder.
run() {
  local run=build/fuzz/runs/$1
  rm -rf "$run"
  mkdir -p "$run/corpus"
  cp "fuzz/corpus/$1"/* "$run/corpus/"
  # A single input that takes 10 s counts as a hang.
  local status=0
  build/fuzz/fuzz/"fuzz_$1" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$run/" "$run/corpus" >"$run/log" 2>&1 || status=$?
  echo "$status" >"$run/status"
}

for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n; done
  run "$target" &
done
wait

failed=()
for target in "${targets[@]}"; do
  run=build/fuzz/runs/$target
  if [ "$(cat "$run/status")" -eq 0 ]; then
    inputs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/log")
    echo "fuzz $target: ${inputs:-?} inputs in $seconds s, nothing found"
  else
    echo "fuzz $target: FAILED, see $run/log and the input left in $run/"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|artifact_prefix)' "$run/log" || tail -20 "$run/log"
    failed+=("$target")
  fi
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz.sh: ${failed[*]} failed" >&2
  exit 1
fi
