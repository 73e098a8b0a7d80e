#!/usr/bin/env bash
# A user draws on a white desktop with real input: a free stroke, a Ctrl line, a Shift rectangle,
# strokes cancelled and kept with the right button, a double-click, the wheel, the eraser by its key,
# and Escape. What the screen shows is checked pixel by pixel.
source "$E2E_LIB"
K=000000 W=FFFFFF

white_desktop
# Without the tray and the launch delay: the program opens one session at once. Pen width 3.
scr settings "$cfg" flags=0x7A size=3
start_program
program=$program_pid
ctl wait-window SCRIVANE_MAIN 10000 >/dev/null || fail "no paint session at start"
what="the session does not show the white desktop" see 640,400=$W

step "a free stroke"
drive mousemove 100 100 - mousedown 1 - mousemove 150 120 - mousemove 200 100 - mouseup 1
what="the free stroke is missing" see 125,110=$K 150,120=$K 175,110=$K

step "a Ctrl line stays put within 3 across and 7 down, then locks horizontal"
drive keydown ctrl - mousemove 100 200 - mousedown 1 - mousemove 103 203 - mousemove 100 207 - mousemove 104 206 - \
  mousemove 160 230 - mouseup 1 - keyup ctrl
what="the Ctrl line is wrong" see 100,200=$K 130,200=$K 159,200=$K 103,203=$W 100,207=$W 160,230=$W 130,215=$W

step "a Shift rectangle leaves only the last rectangle"
drive keydown shift - mousemove 300 100 - mousedown 1 - mousemove 400 200 - mousemove 350 150 - mouseup 1 - keyup shift
what="the Shift rectangle is wrong" see 325,100=$K 300,125=$K 349,125=$K 325,149=$K 325,125=$W 400,150=$W 375,100=$W 375,200=$W

step "the right button pressed during a stroke and released last cancels it; released first it keeps it"
drive mousemove 500 100 - mousedown 1 - mousemove 550 100 - mousedown 3 - mouseup 1 - mouseup 3
drive mousemove 500 200 - mousedown 1 - mousemove 550 200 - mousedown 3 - mouseup 3 - mouseup 1
what="cancel and keep are wrong" see 525,100=$W 525,200=$K

step "a double-click leaves only the first click's dot: dragging on from the second press draws nothing"
drive mousemove 600 300 click 1 mousedown 1 - mousemove 640 300 - mouseup 1
what="the double-click drew" see 600,300=$K 620,300=$W

step "the wheel magnifies about the pointer up to six times, and back"
drive mousemove 130 200 - click 4 - click 4 - click 4 - click 4 - click 4 - click 4 - click 4
what="not six times about the pointer" see 130,200=$K 130,208=$K 130,222=$W 160,200=$K
drive click 5 - click 5 - click 5 - click 5 - click 5 - click 5
what="not back to one to one" see 130,200=$K 130,208=$W 175,110=$K

step "F9 takes the eraser, which brings the desktop back under the stroke"
drive key F9 - mousemove 120 105 - mousedown 1 - mousemove 150 120 - mousemove 180 110 - mouseup 1
what="the eraser did not erase" see 125,110=$W 150,120=$W 130,200=$K

step "Escape ends the session, and with it the program"
drive key Escape
wait_exit "$program" 10
echo "PASS"
