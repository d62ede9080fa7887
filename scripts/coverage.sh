#!/usr/bin/env bash
# Line and branch coverage from the unit tests, the scenarios and the runner's tests, in a build
# instrumented with GCC's --coverage (preset coverage, folder build/coverage): of the core (src/
# without the backends), of the simulated backend, and of both together.
set -euo pipefail
cd "$(dirname "$0")/.."
# A compiler cache with a base directory records relative source paths, which gcovr cannot
# find: it then reports 0% and no error. Instrumented objects are always compiled here.
export CCACHE_DISABLE=1

scripts/install-deps.sh
jobs=$(nproc)
cmake --preset coverage >/dev/null
cmake --build --preset coverage -j"$jobs"
# Counts from an earlier run would add to this one's.
find build/coverage -name '*.gcda' -delete
if ! ctest --preset coverage -j"$jobs" >build/coverage/ctest.log; then
  cat build/coverage/ctest.log
  exit 1
fi

gcovr --root . --object-directory build/coverage --json build/coverage/coverage.json

report() {
  local name=$1
  shift
  local summary
  # The report goes to a file of its own: gcovr replaces the file it writes, and run as root it
  # would replace /dev/null with a plain file.
  summary=$(gcovr --root . --add-tracefile build/coverage/coverage.json "$@" \
    --print-summary --output build/coverage/report.txt)
  printf '%-22s %s\n' "$name" "$(echo "$summary" | tr '\n' ' ')"
}
report "core" --filter 'src/' --exclude 'src/backends/(sim|win32)/'
report "simulated backend" --filter 'src/backends/sim/'
report "core and sim backend" --filter 'src/' --exclude 'src/backends/win32/'
