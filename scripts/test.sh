#!/usr/bin/env bash
# Installs what is missing, builds all four presets (native, fuzz, win64, win32) and runs every
# test: the native tests directly, each fuzz target for a bounded time (WYNDO_FUZZ_SECONDS, 20 s
# by default; a crash or a broken check fails the run), then the Windows and end-to-end tests of
# the 64-bit build and of the 32-bit product under Wine, each in a throwaway session of its own.
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
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  scripts/wine-session.sh ctest --preset win32 -j2
else
  echo "test: wine32 is not installed, so the 32-bit suite cannot run here: only the 64-bit suite ran"
fi
