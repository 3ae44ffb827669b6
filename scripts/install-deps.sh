#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run need, skipping what is present.
# The 32-bit program runs under Wine's WoW64 with wine32 from the i386 architecture; when that
# cannot be installed the rest still is, and scripts/test.sh says that the 32-bit suite cannot run.
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

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
updated=0
update() {
  ((updated)) && return 0
  updated=1
  # A mirror caught mid-sync can fail one index; the install below decides whether that mattered.
  "${sudo_cmd[@]}" apt-get update -q || echo "install-deps: apt-get update reported errors; trying the install anyway"
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "install-deps: installing ${missing[*]}"
  update
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if ! installed wine32:i386; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
    updated=0
  fi
  echo "install-deps: installing wine32:i386"
  update
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends wine32:i386 ||
    echo "install-deps: wine32:i386 could not be installed; the 32-bit program cannot run under Wine here"
fi
