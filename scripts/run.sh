#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it under Wine on the current X display,
# inside a 1280x1024 Wine virtual desktop (which gives the program a task bar and a tray; set
# WYNDO_DESKTOP=0 to run on the display directly). Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
run: there is no X display (DISPLAY is not set). Start one and try again, for example:
  Xvfb :1 -screen 0 1280x1024x24 &  export DISPLAY=:1
or connect with an X server (ssh -X, a VNC session) first.
MSG
  exit 1
fi

scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target wyndo

# shellcheck source=wine-prefix.sh
source scripts/wine-prefix.sh
export WINEDEBUG=-all
wyndo_prepare_prefix "${WYNDO_WINEPREFIX:-$HOME/.local/share/wyndo/wineprefix}"
if [ "${WYNDO_DESKTOP:-1}" = 1 ]; then
  exec wine explorer /desktop=Wyndo,1280x1024 build/win64/app/wyndo.exe "$@"
fi
exec wine build/win64/app/wyndo.exe "$@"
