#!/usr/bin/env bash
# A stroke of real mouse input that reaches the screen and, through the real Save As dialog, a BMP
# file; without the tray, so that Escape ends the program.
source "$E2E_LIB"

read -r sw sh < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
helper picture 0 0 "$sw" "$sh" FFFFFF  # white paper under the session
ctl pixels 15000 640 400 FFFFFF >/dev/null || fail "the desktop did not turn white"
write_settings 0x72 0  # no tray, no delay: a session at once
start_program --no-wait
ctl wait SCRIVANE_MAIN visible 15000 >/dev/null || fail "no paint session at start"

step "a stroke drawn with the mouse reaches the screen"
# A pause after every event, so that no movement merges into the next.
xdotool mousemove 100 100 sleep 0.1 mousedown 1 sleep 0.1 mousemove 150 120 sleep 0.1 mousemove 200 100 sleep 0.1 mouseup 1
ctl pixels 3000 125 110 000000 175 110 000000 125 130 FFFFFF || fail "the stroke is not on the screen"

step "Save As writes the drawing as a 24-bit BMP of the screen's size"
ctl post SCRIVANE_MAIN 1037 + wait '#32770' visible 15000 >/dev/null || fail "no Save As dialog"
sleep 1  # a loaded machine gives the name box its focus a little after the dialog shows
# The whole path: the dialog opens where the last one of this Wine prefix was left.
xdotool type --delay 20 "Z:${work//\//\\}\\picture.bmp"
xdotool key Return
bmp="$work/picture.bmp" stride=$(((3 * sw + 3) & ~3))
for _ in $(seq 150); do [[ -s $bmp ]] && break; sleep 0.1; done
[[ $(stat -c %s "$bmp" 2>&1) == $((54 + stride * sh)) ]] || fail "picture.bmp: $(stat -c %s "$bmp" 2>&1) bytes"
at() { hex_at "$bmp" $((54 + (sh - 1 - $2) * stride + 3 * $1)) 3; }  # X Y: blue, green, red; bottom row first
got="$(at 125 110) $(at 175 110) $(at 125 130)"
[[ $got == "000000 000000 ffffff" ]] || fail "picture.bmp: the stroke, then paper: $got"

step "Escape ends the session, and with it the program"
xdotool key Escape
expect_exit "$program" "Escape"
echo PASS
