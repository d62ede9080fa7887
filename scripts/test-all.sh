#!/usr/bin/env bash
# Every test: unit tests and scenarios, in a debug build and under AddressSanitizer and
# UndefinedBehaviorSanitizer; the benchmarks, built optimised and run once each; both DLLs, each
# tested under Wine (the x86 one only where 32-bit Wine is installed, else its tests are skipped);
# then the formatting check, the test lines against their limit of 0.55 times the product, the
# skins in headless Chromium, and each fuzz target for a short while.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)
for preset in dev asan; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
  ctest --preset "$preset" -j"$jobs"
done

echo "== release benchmarks"
# Only the benchmark program, each benchmark once: the optimised build must keep compiling with
# warnings as errors, and the README's benchmark command must keep running.
cmake --preset release >/dev/null
cmake --build --preset release -j"$jobs" --target windlock_bench
build/release/bench/windlock_bench --short

for preset in win32 win64; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
done
echo "== win64 tests under Wine"
ctest --preset win64
echo "== win32 tests under Wine"
ctest --preset win32
if ! reason=$(scripts/wine-run.sh --check-32-bit); then
  echo "win32: the x86 DLL's Wine tests were skipped: $reason"
fi

echo "== clang-format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "clang-format: clean"

echo "== test lines against product lines"
scripts/code-ratio.sh

echo "== skins in Chromium"
node tests/skins/run.js

echo "== fuzz"
# 20 s a target keeps the whole run under 20 minutes; scripts/fuzz.sh alone runs 30 s each.
scripts/fuzz.sh 20
