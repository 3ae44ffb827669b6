#!/usr/bin/env bash
# Installs what is missing, builds all three presets (native, win64, win32) and runs every test:
# the native tests directly, the Windows tests under Wine in a throwaway session.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
for preset in native win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

ctest --preset native -j2
scripts/wine-session.sh ctest --preset win64 -j2
