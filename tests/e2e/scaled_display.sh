#!/usr/bin/env bash
# A display at 200 %: Wine takes the DPI from the registry, so a prefix of its own, with a server of
# its own on a private display. The palette panel shows at twice its size with the title spot under
# the pointer, and a pick and a size drag land where the user sees them.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"
source "$E2E_LIB"
trap 'e2e_cleanup; stop_everything' EXIT

step "a Wine prefix at 192 DPI on a display of its own"
start_private_display
export WINEPREFIX="$root/build/wineprefix-192dpi"
exec 9>"$WINEPREFIX.lock" && flock -w 120 9 || fail "another run kept $WINEPREFIX.lock"
if [[ ! -f "$WINEPREFIX/.scrivane-192dpi" ]]; then  # else a killed run left it half made
  rm -rf "$WINEPREFIX" && ensure_wine_prefix
  "$WINELOADER" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
  "$WINESERVER" -w && touch "$WINEPREFIX/.scrivane-192dpi"
fi
exec 9>&-
"$WINESERVER" -p30 && wineserver_started=1  # ends by itself 30 s after the last program, should this story be killed
white_desktop
write_settings 0x72 0  # no tray: a session at start, black pen of width 5
start_program --no-wait
ctl wait SCRIVANE_MAIN visible 30000 >/dev/null || fail "no paint session at start"

step "a right click shows the panel 640 x 120 with the title spot (320,14) under the pointer"
drive mousemove 640 400 - click 3 sleep 0.55
see "the panel is not 640 x 120 at (320,386)" 319 400 FFFFFF 320 400 000000 959 400 000000 960 400 FFFFFF \
  500 385 FFFFFF 500 386 000000 500 400 4080FF 500 505 000000 500 506 FFFFFF

step "a click on the third cell picks red; a size drag of 40 px up widens the pen from 5 to 15"
drive mousemove 512 456 - click 1 - mousemove 360 456 - mousedown 1 - mousemove 360 436 - mousemove 360 416 - mouseup 1
drive mousemove 100 600 - mousedown 1 - mousemove 200 600 - mouseup 1
see "the stroke is not red and 15 wide" 150 606 FF0000 150 594 FF0000 150 612 FFFFFF
echo PASS
