#!/usr/bin/env bash
# A user works the palette panel with real input: picks a colour, drags the width, toggles the
# highlighter, picks a pen by key, cancels and accepts the colour dialog, saves the picture through
# the Save As dialog, and closes the session with the panel's close button. Checked by what the
# screen shows, the saved BMP file and the settings file left behind.
source "$E2E_LIB"
# The panel comes back with the spot last pressed on it under the pointer: track that spot.
gx=160 gy=7
# The pause keeps a following click on the same spot from being a double-click.
panel_at() { drive mousemove "$1" "$2" - click 3 sleep 0.55; px=$(($1 - gx)) py=$(($2 - gy)); }
# on X Y: the client point of panel point (X,Y); presses on cells, the size box and the eraser move
# the spot, presses on save and close do not.
on() { echo "$((px + $1)) $((py + $2))"; }
grab() { gx=$1 gy=$2; }
stroke() { drive mousemove "$1" "$2" - mousedown 1 - mousemove "$3" "$4" - mouseup 1; }
dialog_rect() { ctl wait-visible '#32770' 5000 >/dev/null || fail "no dialog"; read -r dx dy _ _ < <(ctl rect '#32770'); }
W=FFFFFF

white_desktop
# No tray and no delay; the remembered palette off, with a colour of its own for the dialog's first
# custom box.
scr settings "$cfg" flags=0x72 palette0=0x563412
start_program
program=$program_pid
ctl wait-visible SCRIVANE_MAIN 10000 >/dev/null || fail "no paint session at start"

step "a right click shows the panel at the pointer; a left click picks green; the next stroke is green"
panel_at 700 500
what="no panel at the pointer" see $((px + 100)),$((py + 5))=4080FF $((px + 5)),$((py + 30))=E0E0F0
drive mousemove $(on 120 35) - click 1; grab 120 35
stroke 100 100 200 100
what="the stroke is not green, or the panel stayed" see 150,100=00FF00 $((px + 100)),$((py + 5))=$W

step "dragging the size box 40 px up widens the pen from 5 to 15"
panel_at 700 500
drive mousemove $(on 20 35) - mousedown 1 - mousemove $(on 20 15) - mousemove $(on 20 -5) - mouseup 1; grab 20 35
stroke 100 200 200 200
what="the pen is not 15 wide" see 150,206=00FF00 150,194=00FF00 150,212=$W

step "a right click on the size box turns the highlighter on: a translucent band"
panel_at 700 500
drive mousemove $(on 20 35) - click 3
stroke 100 300 200 300
what="no translucent green band above the pointer" see 150,290=BFFFBF 150,282=BFFFBF 150,305=$W
panel_at 700 500
drive mousemove $(on 20 35) - click 3

step "F3 picks red"
drive key F3
stroke 100 400 200 400
what="F3 did not pick red" see 150,400=FF0000

step "Escape in the colour dialog changes nothing and leaves the session"
panel_at 700 500
drive mousemove $(on 96 35) - click 3; grab 96 35
dialog_rect
drive key Escape
ctl wait-gone '#32770' 5000 >/dev/null || fail "the colour dialog stayed"
ctl visible SCRIVANE_MAIN || fail "Escape in the dialog ended the session"
what="the drawing changed" see 150,400=FF0000 150,100=00FF00

step "the colour dialog opens at the pointer; a custom colour and Return go into the cell and the pen"
drive mousemove $(on 96 35) - click 3
dialog_rect
drive mousemove $((dx + 22)) $((dy + 220)) - click 1 - key Return
ctl wait-gone '#32770' 5000 >/dev/null || fail "the colour dialog stayed"
stroke 100 500 200 500
what="the accepted colour is not the pen's" see 150,500=123456

step "Save As, with the panel shown and the view magnified, writes the plain drawing"
panel_at 700 500
drive mousemove 300 300 - click 4 - click 4 - mousemove $(on 275 35) - click 1
ctl wait-visible '#32770' 5000 >/dev/null || fail "no Save As dialog"
xdotool type picture
drive key Return
bmp="$work/picture.bmp"
for _ in $(seq 50); do [[ -s $bmp ]] && break; sleep 0.1; done
[[ -s $bmp ]] || fail "no picture.bmp"
python3 - "$bmp" "$sw" "$sh" "$px" "$py" <<'PY' || fail "the saved file is wrong"
import struct, sys
data = open(sys.argv[1], "rb").read()
w, h, px, py = (int(v) for v in sys.argv[2:])
stride = (3 * w + 3) & ~3
want = struct.pack("<2sIHHIIiiHHIIiiII", b"BM", 54 + stride * h, 0, 0, 54, 40, w, h, 1, 24, 0, stride * h, 0, 0, 0, 0)
problems = []
if data[:54] != want:
    problems.append(f"header {data[:54].hex()} expected {want.hex()}")
if len(data) != 54 + stride * h:
    problems.append(f"{len(data)} bytes, expected {54 + stride * h}")
def pixel(x, y):
    i = 54 + (h - 1 - y) * stride + 3 * x
    return "%02X%02X%02X" % (data[i + 2], data[i + 1], data[i])
for x, y, colour, why in ((150, 100, "00FF00", "the green stroke"), (150, 400, "FF0000", "the red stroke"),
                          (150, 500, "123456", "the stroke in the accepted colour"), (150, 212, "FFFFFF", "unmagnified"),
                          (px + 100, py + 5, "FFFFFF", "no panel")):
    if len(data) > 54 and pixel(x, y) != colour:
        problems.append(f"{why}: ({x},{y}) is {pixel(x, y)}, expected {colour}")
print("\n".join(problems))
sys.exit(1 if problems else 0)
PY
drive click 5 - click 5

step "the close button ends the session; the settings keep the pen, the width and the palette"
drive mousemove $(on 300 35) - click 1
wait_exit "$program" 10
python3 - "$cfg" <<'PY' || fail "the settings file is wrong"
import struct, sys
data = open(sys.argv[1], "rb").read()
flags, pen, size = struct.unpack_from("<I", data, 0)[0], *struct.unpack_from("<iI", data, 12)
palette2 = struct.unpack_from("<I", data, 40)[0]
path = data[80:].split(b"\0")[0].decode("latin-1")
problems = []
if pen != 2 or size != 15: problems.append(f"pen {pen} size {size}, expected 2 and 15")
if flags & 0x200: problems.append("the highlighter is remembered on")
if palette2 != 0x563412: problems.append(f"palette[2] {palette2:06x}, expected 563412")
if not path.lower().endswith("picture.bmp"): problems.append(f"save path {path!r}")
print("\n".join(problems))
sys.exit(1 if problems else 0)
PY
echo "PASS"
