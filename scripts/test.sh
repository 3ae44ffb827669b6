#!/usr/bin/env bash
# Installs what is missing, builds all four presets (native, fuzz, win64, win32) and runs every
# test: the native tests directly, each fuzz target for a bounded time (WYNDO_FUZZ_SECONDS, 20 s
# by default; a crash or a broken check fails the run), the Windows tests under Wine in a
# throwaway session.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
for preset in native fuzz win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

ctest --preset native -j2
ctest --preset fuzz -j2
scripts/wine-session.sh ctest --preset win64 -j2
