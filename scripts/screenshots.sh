#!/usr/bin/env bash
# Takes the README pictures of the program's main windows: starts a built wyndo.exe in a Wine
# session of its own (scripts/wine-session.sh: Xvfb display, throwaway prefix, virtual desktop),
# drives it with xdotool, captures the screen with ImageMagick and crops each picture to its
# window.
# Usage: scripts/screenshots.sh [exe]   (default build/win64/app/wyndo.exe; builds nothing)
# Environment: WYNDO_SHOTS_DIR picks the output folder (default docs/images), WYNDO_XVFB_DISPLAY
# the display number.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
exe=$(realpath -m "${1:-$top/build/win64/app/wyndo.exe}")
out=$(realpath -m "${WYNDO_SHOTS_DIR:-$top/docs/images}")
cd "$top"
[ -f "$exe" ] || { echo "screenshots: $exe not found; build it first" >&2; exit 1; }
for tool in Xvfb xdotool xwininfo xdpyinfo import convert wine wineserver; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing" >&2; exit 1; }
done
mkdir -p "$out"

# The pictures are taken in a Wine session of their own (display, prefix, virtual desktop).
if [ -z "${WYNDO_WINE_SESSION:-}" ]; then
  exec scripts/wine-session.sh "$0" "$exe"
fi
work_dir=$(mktemp -d "${TMPDIR:-/tmp}/wyndo-shots.XXXXXX")
trap 'rm -rf "$work_dir"' EXIT

# Wine gives every top-level window of the virtual desktop an X window of its own, named by its
# caption: "W H X Y" of the shown window with that caption, empty while there is none.
rect() {
  xwininfo -root -tree | grep -F "\"$1\": (\"wyndo.exe\"" |
    sed -nE 's/.*[)] +([0-9]+)x([0-9]+)\+(-?[0-9]+)\+(-?[0-9]+) .*/\1 \2 \3 \4/p' |
    awk '$1 > 1 && $2 > 1' | head -n 1
}

wait_for() {
  for _ in $(seq 1 150); do
    [ -n "$(rect "$1")" ] && return 0
    sleep 0.2
  done
  echo "screenshots: no window \"$1\" appeared" >&2
  exit 1
}

# Drags with the left button, in steps, as a user would.
drag() {
  xdotool mousemove "$1" "$2" mousedown 1 mousemove $(($1 + 8)) $(($2 + 8)) sleep 0.2 \
    mousemove "$3" "$4" sleep 0.3 mouseup 1
  sleep 0.5
}

# Moves the window to X Y and makes it W x H (0 keeps the size). Wine's virtual desktop does not
# take the docked main window off the work area, so new windows open at the top left, over its
# tool bar; each is moved below the strip by its caption and sized by its lower right corner.
place() {
  local name=$1 x=$2 y=$3 w=$4 h=$5 cw ch cx cy
  read -r cw ch cx cy <<<"$(rect "$name")"
  drag $((cx + cw / 3)) $((cy + 10)) $((x + cw / 3)) $((y + 10))
  if [ "$w" -gt 0 ]; then
    drag $((x + cw - 2)) $((y + ch - 2)) $((x + w - 2)) $((y + h - 2))
  fi
}

# Captures the window with the given caption into $out/FILE, as a PNG of at most 256 colours.
shoot() {
  local name=$1 file=$2 w h x y
  sleep "${3:-1}"
  xdotool mousemove 1270 1010 # no hover effects in the picture
  sleep 0.5
  read -r w h x y <<<"$(rect "$name")"
  import -window root "$work_dir/screen.png"
  convert "$work_dir/screen.png" -crop "${w}x${h}+${x}+${y}" +repage -strip -colors 256 \
    "PNG8:$out/$file"
  echo "$out/$file: ${w}x${h}, $(stat -c %s "$out/$file") bytes"
}

# The tool bar buttons of the main window, left to right (centres).
button_windows=23 button_processes=62 button_threads=100 button_modules=140 button_find=188
toolbar_y=63

# The program runs from a plain Windows folder, so no build path shows in the lists.
program_dir="$WINEPREFIX/drive_c/Program Files/Wyndo"
mkdir -p "$program_dir"
cp "$exe" "$program_dir/wyndo.exe"

# A fresh prefix has no settings: the program shows its Properties dialog first.
wine 'C:\Program Files\Wyndo\wyndo.exe' </dev/null >"$work_dir/wine.log" 2>&1 &
wait_for Properties
shoot Properties properties.png 2
xdotool key Return
wait_for Wyndo
sleep 3 # the splash screen goes once the main window is up

xdotool mousemove "$button_windows" "$toolbar_y" click 1
wait_for "Window List 1"
place "Window List 1" 20 140 760 420
shoot "Window List 1" window-list.png 3

# The Find Window dialog with the main window found by its caption and class; its Properties
# button opens the main window's information.
xdotool mousemove "$button_find" "$toolbar_y" click 1
wait_for "Find Window 1"
place "Find Window 1" 820 160 0 0
read -r _ _ x y <<<"$(rect "Find Window 1")"
xdotool mousemove $((x + 156)) $((y + 168)) click 1 type --delay 50 Wyndo
xdotool mousemove $((x + 156)) $((y + 196)) click 1 type --delay 50 TWyndoMainForm
shoot "Find Window 1" find-window.png 1
xdotool mousemove $((x + 184)) $((y + 230)) click 1
wait_for "Window Info 1"
place "Window Info 1" 760 440 0 0
shoot "Window Info 1" window-information.png 2

xdotool mousemove "$button_processes" "$toolbar_y" click 1
wait_for "Process List 1"
place "Process List 1" 60 180 760 420
shoot "Process List 1" process-list.png 3

xdotool mousemove "$button_threads" "$toolbar_y" click 1
wait_for "Thread List 1"
place "Thread List 1" 100 220 760 420
shoot "Thread List 1" thread-list.png 3

xdotool mousemove "$button_modules" "$toolbar_y" click 1
wait_for "Module List 1"
place "Module List 1" 140 260 760 420
shoot "Module List 1" module-list.png 3

# The main window last, active, with a task bar button for every window opened above.
xdotool mousemove 900 10 click 1
shoot Wyndo main-window.png 2
