#!/usr/bin/env bash
# A stroke of real mouse input that reaches the screen, is taken back and put back with the keys and
# copied to the clipboard; through the real Save As dialog a BMP file and a PNG file; without the
# tray, so that Escape ends the program.
source "$E2E_LIB"

white_desktop
write_settings 0x72 0  # no tray, no delay: a session at once
start_program --no-wait
ctl wait SCRIVANE_MAIN visible 15000 >/dev/null || fail "no paint session at start"

step "a stroke drawn with the mouse reaches the screen; Ctrl+Z takes it back, Ctrl+Y puts it back"
drive mousemove 100 100 - mousedown 1 - mousemove 150 120 - mousemove 200 100 - mouseup 1
see "the stroke is not on the screen" 125 110 000000 175 110 000000 125 130 FFFFFF
drive key ctrl+z
see "Ctrl+Z left the stroke" 125 110 FFFFFF 175 110 FFFFFF
drive key ctrl+y
see "Ctrl+Y did not bring it back" 125 110 000000 175 110 000000
drive key ctrl+c
[[ $(ctl clipboard) == "$sw $sh 24" ]] || fail "Ctrl+C: the clipboard holds $(ctl clipboard)"

# save NAME: Save As, the whole path typed (the dialog opens where this prefix's last one was left).
save() {
  ctl post SCRIVANE_MAIN 1037 + wait '#32770' visible 15000 >/dev/null || fail "no Save As dialog"
  sleep 1  # a loaded machine gives the name box its focus a little after the dialog shows
  xdotool type --delay 20 "Z:${work//\//\\}\\$1"
  xdotool key Return
  for _ in $(seq 150); do [[ -s $work/$1 ]] && break; sleep 0.1; done
}

step "Save As writes the drawing as a 24-bit BMP of the screen's size, and as PNG"
save picture.bmp
got=$(stat -c %s "$work/picture.bmp" 2>&1)  # the pixels are the clipboard's and the PNG's, which the tests compare
[[ $got == $((54 + ((3 * sw + 3) & ~3) * sh)) ]] || fail "picture.bmp: $got bytes"
save picture.png
got=$(convert "$work/picture.png" -format '%[hex:p{125,110}] %[hex:p{125,130}] %w %h %m' info: 2>&1)
[[ $got == "000000 FFFFFF $sw $sh PNG" ]] || fail "picture.png: $got"

step "Escape ends the session, and with it the program"
xdotool key Escape
expect_exit "$program" "Escape"
echo PASS
