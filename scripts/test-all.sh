#!/usr/bin/env bash
# Every test: unit tests and scenarios, in a debug build and under AddressSanitizer and
# UndefinedBehaviorSanitizer; both DLLs, with the x64 one tested under Wine; then the
# formatting check, and each fuzz target for a short while.
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

for preset in win32 win64; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
done
echo "== win64 tests under Wine"
ctest --preset win64

echo "== clang-format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "clang-format: clean"

echo "== fuzz"
scripts/fuzz.sh
