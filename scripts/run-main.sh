#!/usr/bin/env bash
# The main job: builds windlock-sim and replays the tour scenario on the simulated machine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target windlock-sim -j"$(nproc)"
build/dev/tools/sim/windlock-sim examples/tour.scn
