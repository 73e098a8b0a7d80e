#!/usr/bin/env bash
# Installs what is missing, builds, and runs Scrivane under Wine: on your display when there is one,
# otherwise on a private display, where it starts a session, leaves screenshots and ends the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/deps.sh"
"$root/scripts/build.sh" x86_64 i686

# The program keeps its settings beside itself: run a copy in its own folder.
run_dir="$root/build/run"
mkdir -p "$run_dir"
cp "$root/build/x86_64/Scrivane.exe" "$root/build/x86_64/Scrivane.dll" "$run_dir/" 2>/dev/null \
  || cp "$root/build/x86_64/Scrivane.exe" "$run_dir/"

source "$root/scripts/wine-env.sh"
trap stop_everything EXIT

if [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; then
  ensure_wine_prefix
  echo "Scrivane is waiting in the tray: press Print Screen, or click its tray icon, to draw on the screen."
  echo "Right-click the tray icon and choose Exit to end it."
  cd "$run_dir"
  "$WINELOADER" "$run_dir/Scrivane.exe"
  exit 0
fi

start_private_display
ensure_wine_prefix
start_wineserver
ctl() { "$WINELOADER" "$root/build/x86_64/tests/tools/scrivctl.exe" "$@"; }
shot() { xwd -root -silent -display "$DISPLAY" | /usr/bin/convert xwd:- "$1"; }
# Real input, with a pause after every event so that no movement is merged into the next.
drive() {
  local args=() a
  for a in "$@"; do
    if [[ $a == - ]]; then args+=(sleep 0.08); else args+=("$a"); fi
  done
  xdotool "${args[@]}" sleep 0.2
}

# A desktop worth drawing on: a coloured background, the X logo and a window with text.
xsetroot -solid '#3a6ea5'
xlogo -geometry 260x260+820+120 &
started_pids+=($!)
xmessage -geometry +120+90 -buttons "" "Scrivane draws on a frozen picture of this desktop.
Free strokes, Ctrl lines, Shift rectangles, the highlighter,
the eraser, and the wheel to magnify." &
started_pids+=($!)
sleep 1

# The demonstration starts from the default settings, not from what the last one remembered.
rm -f "$run_dir/Scrivane.cfg"
(cd "$run_dir" && exec "$WINELOADER" "$run_dir/Scrivane.exe") &
program=$!
started_pids+=("$program")
ctl wait SCRIVANE_TRAY present 20000 >/dev/null
sleep 0.5
shot "$run_dir/desktop.png"

# A second start hands over to the running copy, which starts a session after the launch delay.
(cd "$run_dir" && "$WINELOADER" "$run_dir/Scrivane.exe")
ctl wait SCRIVANE_MAIN visible 10000 >/dev/null
sleep 0.3
# A free stroke under the text, a Ctrl line, a Shift rectangle around the logo.
drive mousemove 130 260 - mousedown 1 - mousemove 200 290 - mousemove 280 250 - mousemove 360 295 - mousemove 440 260 - mouseup 1
drive keydown ctrl - mousemove 130 330 - mousedown 1 - mousemove 140 331 - mousemove 520 340 - mouseup 1 - keyup ctrl
drive keydown shift - mousemove 800 100 - mousedown 1 - mousemove 1100 400 - mouseup 1 - keyup shift
# The panel at a right click: red from its cells, then the highlighter from the size box.
drive mousemove 700 600 - click 3 - mousemove 636 628 - click 1 - mousemove 560 628 - click 3
shot "$run_dir/panel.png"
drive mousemove 130 230 - mousedown 1 - mousemove 300 232 - mousemove 480 228 - mouseup 1
drive mousemove 640 720
shot "$run_dir/drawing.png"
drive mousemove 300 280 - click 4 - click 4 - click 4
shot "$run_dir/magnified.png"
drive click 5 - click 5 - click 5 - key Escape
ctl wait SCRIVANE_MAIN gone 10000 >/dev/null || ctl post SCRIVANE_MAIN 16 0 0
ctl wait SCRIVANE_MAIN gone 10000 >/dev/null
ctl post SCRIVANE_TRAY 0x111 32772 0  # Exit
wait "$program" || true
echo "No display here, so Scrivane ran on a private one and was driven with real input. Screenshots:"
echo "  $run_dir/desktop.png    (the desktop, with Scrivane waiting in the tray)"
echo "  $run_dir/panel.png      (the palette panel, red picked and the highlighter on)"
echo "  $run_dir/drawing.png    (a session: a free stroke, a Ctrl line, a Shift rectangle and a red highlighter band)"
echo "  $run_dir/magnified.png  (the same session magnified four times about the pointer)"
echo "Settings written to $run_dir/Scrivane.cfg"
