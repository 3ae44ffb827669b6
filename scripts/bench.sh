#!/usr/bin/env bash
# Builds and runs the benchmark program with the whole Wine session (Xvfb, wineserver, the
# program and the stress helper) pinned to one CPU. Arguments go to the benchmark, for example
# --windows 20000 --depth 2 --fanout 10 --threads 4 --processes 40 --process-threads 20
# --modules 40 --nodes 100000 --rounds 3 (see bench/bench.cpp).
# Environment: WYNDO_BUILD_DIR builds there instead of build/win64; WYNDO_JOBS limits the build's
# parallel jobs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=${WYNDO_BUILD_DIR:-build/win64}
cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" --target bench stress ${WYNDO_JOBS:+-j "$WYNDO_JOBS"}
exec taskset -c 0 scripts/wine-session.sh wine "$build/bench/bench.exe" "$@"
