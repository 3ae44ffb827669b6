#!/usr/bin/env bash
# Runs a command inside a throwaway Wine session: its own Xvfb display, a fresh WINEPREFIX with
# Wine's fonts and a 1280x1024 virtual desktop, and one persistent wineserver for the whole run.
# Usage: scripts/wine-session.sh <command> [args...]
# Environment: WYNDO_KEEP_PREFIX=1 keeps the prefix for inspection; WYNDO_XVFB_DISPLAY picks the display number.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-prefix.sh
source "$here/wine-prefix.sh"

session_dir=$(mktemp -d "${TMPDIR:-/tmp}/wyndo-wine.XXXXXX")
export WINEPREFIX="$session_dir/prefix"
export WINEDEBUG=-all
export WYNDO_WINE_SESSION=1
xvfb_pid=""

cleanup() {
  local rc=$?
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  # Waits for Xvfb to be gone, so a session started right after cannot meet its display.
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" >/dev/null 2>&1 || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  if [ "${WYNDO_KEEP_PREFIX:-0}" = 1 ]; then
    echo "wine-session: prefix kept in $WINEPREFIX" >&2
  else
    rm -rf "$session_dir"
  fi
  exit "$rc"
}
trap cleanup EXIT INT TERM

# A display of our own, so tests never draw on (or take input from) a developer's screen.
display=${WYNDO_XVFB_DISPLAY:-}
if [ -z "$display" ]; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { display=$n; break; }
  done
fi
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$session_dir/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 1 100); do
  xdpyinfo >/dev/null 2>&1 && break
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$session_dir/xvfb.log" >&2; echo "wine-session: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done

wyndo_prepare_prefix "$WINEPREFIX" virtual-desktop
# The server that preparing the prefix started lingers for a few seconds; once it has gone,
# start the one that stays for the whole run.
wineserver -w
wineserver -p
# wineserver closes the virtual desktop (and its explorer.exe) soon after the last process using
# it has ended, and the next program starts it again: slowly, and with explorer.exe inheriting
# that program's standard output, which then stays open after the program has ended. A program
# that keeps a hidden window keeps the desktop and Wine's background services up for the whole
# session, started here, away from any test's output. It answers its messages: under Wine a
# message sent to another process's thread that never handles messages blocks the sender
# whatever time-out it gives, which would stall every test that enumerates windows.
printf '%s\n' '#include <windows.h>' \
  'int main(void) { MSG m; CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, 0, 0, 0, 0);' \
  '  while (GetMessageA(&m, 0, 0, 0) > 0) DispatchMessageA(&m); return 0; }' |
  x86_64-w64-mingw32-gcc -x c - -o "$session_dir/keeper.exe"
wine "$session_dir/keeper.exe" </dev/null >/dev/null 2>&1 &
# Under load (a session pinned to one CPU right after a build) the desktop can take many seconds.
desktop_up=0
for _ in $(seq 1 600); do
  xwininfo -root -tree 2>/dev/null | grep -q 'Wine desktop' && { desktop_up=1; break; }
  sleep 0.1
done
[ "$desktop_up" = 1 ] || echo "wine-session: the virtual desktop did not appear within 60 s" >&2
"$@"
