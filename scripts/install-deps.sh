#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run need, skipping what is present.
# Usage: scripts/install-deps.sh [--run]   (--run adds nothing extra today; kept for symmetry)
set -euo pipefail

packages=(
  cmake make ninja-build
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 fonts-wine
  xvfb x11-utils xdotool imagemagick
  googletest libstb-dev
  g++ clang libclang-rt-14-dev llvm
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "install-deps: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  # A mirror caught mid-sync can fail one index; the install below decides whether that mattered.
  "${sudo_cmd[@]}" apt-get update -q || echo "install-deps: apt-get update reported errors; trying the install anyway"
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
