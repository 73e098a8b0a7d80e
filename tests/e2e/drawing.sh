#!/usr/bin/env bash
# Drawing on a white desktop with real input, without the tray: the bare pen, Escape, then the palette
# panel, the colour dialog, Save As and the panel's close button. Checked by what the screen shows, the
# saved picture and the settings left behind.
source "$E2E_LIB"
K=000000 W=FFFFFF
white_desktop

# start WIDTH [COLOUR]: without the tray, the delay or the remembered palette, a session at once.
start() {
  write_settings 0x72 0 "$@"
  start_program --no-wait
  ctl wait SCRIVANE_MAIN visible 15000 >/dev/null || fail "no paint session at start"
}
stroke() { drive mousemove "$1" "$2" - mousedown 1 - mousemove "$3" "$4" - mouseup 1; }

start 3
see "the session does not show the white desktop" 640 400 $W
step "a free stroke"
drive mousemove 100 100 - mousedown 1 - mousemove 150 120 - mousemove 200 100 - mouseup 1
see "the free stroke is missing" 125 110 $K 150 120 $K 175 110 $K

step "a Ctrl line stays put within 3 across and 7 down, then locks horizontal"
drive keydown ctrl - mousemove 100 200 - mousedown 1 - mousemove 103 203 - mousemove 100 207 - mousemove 104 206 - \
  mousemove 160 230 - mouseup 1 - keyup ctrl
see "the Ctrl line is wrong" 100 200 $K 130 200 $K 159 200 $K 103 203 $W 100 207 $W 160 230 $W 130 215 $W

step "a Shift rectangle leaves only the last rectangle"
drive keydown shift - mousemove 300 100 - mousedown 1 - mousemove 400 200 - mousemove 350 150 - mouseup 1 - keyup shift
see "the Shift rectangle is wrong" 325 100 $K 300 125 $K 349 125 $K 325 149 $K 325 125 $W 400 150 $W 375 100 $W 375 200 $W

step "the right button pressed during a stroke and released last cancels it; released first it keeps it"
drive mousemove 500 100 - mousedown 1 - mousemove 550 100 - mousedown 3 - mouseup 1 - mouseup 3
drive mousemove 500 200 - mousedown 1 - mousemove 550 200 - mousedown 3 - mouseup 3 - mouseup 1
see "cancel and keep are wrong" 525 100 $W 525 200 $K

step "a double-click leaves only the first click's dot: dragging on from the second press draws nothing"
drive mousemove 600 300 click 1 mousedown 1 - mousemove 640 300 - mouseup 1
see "the double-click drew" 600 300 $K 620 300 $W

step "the wheel magnifies about the pointer up to six times, and back"
drive mousemove 130 200 - click 4 - click 4 - click 4 - click 4 - click 4 - click 4 - click 4
see "not six times about the pointer" 130 200 $K 130 208 $K 130 222 $W 160 200 $K
drive click 5 - click 5 - click 5 - click 5 - click 5 - click 5
see "not back to one to one" 130 200 $K 130 208 $W 175 110 $K

step "F9 takes the eraser, which brings the desktop back under the stroke"
drive key F9 - mousemove 120 105 - mousedown 1 - mousemove 150 120 - mousemove 180 110 - mouseup 1
see "the eraser did not erase" 125 110 $W 150 120 $W 130 200 $K

step "Escape ends the session, and with it the program"
drive key Escape
expect_exit "$program" "Escape"

# The panel comes back with the spot last pressed on it (by grab: cells, the size box, the eraser)
# under the pointer; the pause keeps a next click on the same spot from being a double-click.
gx=160 gy=7
panel_at() { drive mousemove "$1" "$2" - click 3 sleep 0.55; px=$(($1 - gx)) py=$(($2 - gy)); }
on() { echo "$((px + $1)) $((py + $2))"; }  # X Y on the panel, on the screen
grab() { gx=$1 gy=$2; }
dialog() { read -r dx dy _ < <(ctl wait '#32770' visible 15000 + rect '#32770' | tail -n 1) || fail "no dialog"; }

start 5 0x563412  # the dialog's first custom colour
step "a right click shows the panel at the pointer; a left click picks green; the next stroke is green"
panel_at 700 500
see "no panel at the pointer" $((px + 100)) $((py + 5)) 4080FF $((px + 5)) $((py + 30)) E0E0F0
drive mousemove $(on 120 35) - click 1; grab 120 35
stroke 100 100 200 100
see "the stroke is not green, or the panel stayed" 150 100 00FF00 $((px + 100)) $((py + 5)) $W

step "dragging the size box 40 px up widens the pen from 5 to 15"
panel_at 700 500
drive mousemove $(on 20 35) - mousedown 1 - mousemove $(on 20 15) - mousemove $(on 20 -5) - mouseup 1; grab 20 35
stroke 100 200 200 200
see "the pen is not 15 wide" 150 206 00FF00 150 194 00FF00 150 212 $W

step "a right click on the size box turns the highlighter on, a translucent band; another turns it off"
panel_at 700 500
drive mousemove $(on 20 35) - click 3
stroke 100 300 200 300
see "no translucent green band above the pointer" 150 290 BFFFBF 150 282 BFFFBF 150 305 $W
panel_at 700 500
drive mousemove $(on 20 35) - click 3

step "F3 picks red"
drive key F3
stroke 100 400 200 400
see "F3 did not pick red" 150 400 FF0000

step "Escape in the colour dialog changes nothing and leaves the session"
panel_at 700 500
drive mousemove $(on 96 35) - click 3; grab 96 35
dialog
drive key Escape
ctl wait '#32770' gone 5000 || fail "the colour dialog stayed"
ctl wait SCRIVANE_MAIN visible 0 >/dev/null || fail "Escape in the dialog ended the session"
see "the drawing changed" 150 400 FF0000 150 100 00FF00

step "the colour dialog opens at the pointer; a custom colour and Return go into the cell and the pen"
drive mousemove $(on 96 35) - click 3
dialog
drive mousemove $((dx + 22)) $((dy + 220)) - click 1 - key Return
ctl wait '#32770' gone 5000 || fail "the colour dialog stayed"
stroke 100 500 200 500
see "the accepted colour is not the pen's" 150 500 123456

step "Save As, with the panel shown and the view magnified, writes the plain drawing as a 24-bit BMP"
panel_at 700 500
drive mousemove 300 300 - click 4 - click 4 - mousemove $(on 275 35) - click 1
dialog
sleep 1  # a loaded machine gives the name box its focus a little after the dialog shows
# The whole path: the dialog opens where the last one of this Wine prefix was left.
xdotool type --delay 20 "Z:${work//\//\\}\\picture.bmp"
drive key Return
bmp="$work/picture.bmp" stride=$(((3 * sw + 3) & ~3))
for _ in $(seq 150); do [[ -s $bmp ]] && break; sleep 0.1; done
[[ -s $bmp ]] || fail "no picture.bmp after 15 s; the folder holds: $(ls "$work"); a dialog is $(ctl wait '#32770' gone 0 2>/dev/null && echo gone || echo open)"
header=$(python3 -c "import struct; print(struct.pack('<2sIHHIIiiHHIIiiII', b'BM', 54 + $stride * $sh, 0, 0, 54, 40,
  $sw, $sh, 1, 24, 0, $stride * $sh, 0, 0, 0, 0).hex())")
[[ -s $bmp && $(hex_at "$bmp" 0 54) == "$header" && $(stat -c %s "$bmp") == $((54 + stride * sh)) ]] \
  || fail "picture.bmp: $(stat -c %s "$bmp" 2>&1) bytes, header $(hex_at "$bmp" 0 54 2>&1), expected $header"
at() { hex_at "$bmp" $((54 + (sh - 1 - $2) * stride + 3 * $1)) 3; }  # BGR
got="$(at 150 100) $(at 150 400) $(at 150 500) $(at 150 212) $(at $((px + 100)) $((py + 5)))"
[[ $got == "00ff00 0000ff 563412 ffffff ffffff" ]] \
  || fail "picture.bmp: green, red and accepted strokes, unmagnified, no panel: $got (BGR)"
drive click 5 - click 5

step "the close button ends the session; the settings keep the pen, the width, the palette and the path"
drive mousemove $(on 300 35) - click 1
expect_exit "$program" "the panel's close button"
read -r flags _ _ pen size < <(od -A n -t d4 -w20 -N 20 "$cfg")
path=$(tail -c +81 "$cfg" | tr '\0' '\n' | head -n 1)
[[ $pen.$size.$((flags & 0x200)).$(hex_at "$cfg" 40 4) == 2.15.0.12345600 && ${path,,} == *picture.bmp ]] \
  || fail "saved pen $pen, width $size, highlighter $((flags & 0x200)), palette[2] $(hex_at "$cfg" 40 4), path '$path'"
echo PASS
