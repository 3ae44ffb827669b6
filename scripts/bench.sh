#!/usr/bin/env bash
# Builds and runs the benchmark program with the whole Wine session (Xvfb, wineserver, the
# program and the stress helper) pinned to one CPU. Arguments go to the benchmark, for example
# --windows 20000 --depth 2 --fanout 10 --threads 4 --rounds 3.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target bench stress
exec taskset -c 0 scripts/wine-session.sh wine build/win64/bench/bench.exe "$@"
