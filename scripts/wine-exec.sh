#!/usr/bin/env bash
# The test emulator for Windows executables: runs one program under Wine inside the session that
# scripts/wine-session.sh set up. Refuses to run outside one, so a test never touches a
# developer's own prefix or display.
if [ "${WYNDO_WINE_SESSION:-}" != 1 ] || [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-exec: run the Windows tests through scripts/wine-session.sh (for example scripts/test.sh)" >&2
  exit 1
fi
export WINEDEBUG=${WINEDEBUG:--all}
exec wine "$@"
