#!/usr/bin/env bash
# The options window as a user meets it: opened from the tray menu at the pointer; boxes clicked, a
# delay, a pen key and a launch key typed, and exactly those values saved at Exit; closed while
# another program holds the hot key, and without the tray; and the same in Japanese.
source "$E2E_LIB"

screen="$(dirname "$E2E_LIB")/screen.py"
wm_close=16
vk_down=0x28
vk_return=0x0D

# A left click in the middle of option control ID.
click() {
  local info l t r b
  info=$(ctl control SCRIVANE_TRAY "$1") || fail "no option control $1"
  read -r l t r b _ <<<"$info"
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click 1
}

text_of() {
  ctl control "$1" "$2" | cut -d' ' -f5-
}

# The u32 fields at the given offsets of the settings file, in hex.
saved() {
  python3 -c 'import struct, sys; d = open(sys.argv[1], "rb").read()
print(" ".join(hex(struct.unpack_from("<I", d, int(o))[0]) for o in sys.argv[2:]))' "$cfg" "$@"
}

# Wine's tray takes the first click after another window had the input for itself: the middle
# button, which the icon ignores, spends it.
tray_menu() {
  xdotool mousemove 13 32 click 2 click 3
  ctl wait-visible "#32768" 5000 >/dev/null || fail "the tray menu did not open"
}

open_options() {
  ctl command SCRIVANE_TRAY 32771 + wait-visible SCRIVANE_TRAY 5000 >/dev/null || fail "Config showed nothing"
}

# expect_message TEXT BUTTON: the program's message box shows TEXT; BUTTON (1 OK, 2 Cancel) answers it.
expect_message() {
  ctl message-text Scrivane 5000 >/dev/null || fail "no message box, expected '$1'"
  local text
  text=$(text_of "#32770" 65535)
  [[ "$text" == "$1" ]] || fail "message '$text', expected '$1'"
  ctl answer-message Scrivane "$2" || fail "the message box did not close"
}

step "Config from the tray menu shows the options with the pointer on their caption"
python3 "$screen" settings "$cfg"
start_program
program=$program_pid
ctl wait-window SCRIVANE_TRAY 15000 || fail "the program did not start"
timeout 10 xdotool search --sync --onlyvisible --name '^Wine System Tray$' >/dev/null || fail "no tray"
tray_menu
xdotool mousemove 600 400
ctl key "$vk_down" "$vk_return"  # "&Config"
ctl wait-visible SCRIVANE_TRAY 5000 >/dev/null || fail "Config showed nothing"
read -r l t r b <<<"$(ctl rect SCRIVANE_TRAY)"
read -r _ first_box_top _ <<<"$(ctl control SCRIVANE_TRAY 1001)"
(((l + r) / 2 == 600 && t < 400 && 400 < first_box_top - 10)) \
  || fail "window at $l,$t-$r,$b (first box at y $first_box_top): pointer 600,400 not on the caption's middle"

step "clicked boxes, a typed delay, pen key and launch key are what Exit saves"
click 1014  # Include Cursor on
click 1010  # Remember Palette off
click 1006
ctl key 0x24 + key-down 0x10 + key 0x23 + key-up 0x10 + key 0x32  # Home, Shift+End, "2"
click 1009
ctl key 0x72  # F3
click 1004
ctl key-down 0x11 + key 0x2C + key-up 0x11  # Ctrl+Print Screen
[[ $(text_of SCRIVANE_TRAY 1006) == 2 ]] || fail "delay shows '$(text_of SCRIVANE_TRAY 1006)', expected 2"
tray_menu
ctl key "$vk_down" "$vk_down" "$vk_return"  # past the separator to "E&xit"
wait_exit "$program" 10
got=$(saved 0 4 8 20)
[[ "$got" == "0x177 0x22c 0x2 0x72" ]] || fail "flags, launch key, delay, pen key saved as $got, expected 0x177 0x22c 0x2 0x72"

step "with the launch key held elsewhere, closing shows message 123 and Cancel keeps the options open"
"$WINELOADER" "$SCRIVCTL" hold-hotkey 0x2C 2 30000 >"$work/hold.out" 2>&1 &  # Ctrl+Print Screen
holder=$!
for _ in $(seq 50); do grep -q held "$work/hold.out" && break; sleep 0.1; done
start_program
program=$program_pid
ctl wait-window SCRIVANE_TRAY 15000 || fail "the program did not start"
open_options
ctl post SCRIVANE_TRAY "$wm_close" 0 0
expect_message "Failed to register HotKey." 2
ctl visible SCRIVANE_TRAY || fail "Cancel hid the options"

step "without the tray, closing shows message 122; OK ends the program, and the next start is one session"
click 1001
ctl post SCRIVANE_TRAY "$wm_close" 0 0
expect_message 'To modify options, remove the config file "Scrivane.cfg".' 1
wait_exit "$program" 10
[[ $(saved 0) == 0x176 ]] || fail "flags saved as $(saved 0), expected 0x176"
start_program
program=$program_pid
ctl wait-visible SCRIVANE_MAIN 10000 >/dev/null || fail "no session at the start without the tray"
ctl post SCRIVANE_MAIN "$wm_close" 0 0
wait_exit "$program" 10

step "in Japanese: the options, the menu and both messages"
python3 "$screen" settings "$cfg" hotkey=0x22C
LANG=ja_JP.UTF-8 LOCPATH="$JAPANESE_LOCPATH" start_program
program=$program_pid
ctl wait-window SCRIVANE_TRAY 15000 || fail "the program did not start in Japanese"
tray_menu
ctl key "$vk_down" "$vk_return"  # "設定(&C)"
ctl wait-visible SCRIVANE_TRAY 5000 >/dev/null || fail "the Japanese menu's Config showed nothing"
[[ $(text_of SCRIVANE_TRAY 1001) == "タスクトレイに格納" ]] || fail "box 1001 reads '$(text_of SCRIVANE_TRAY 1001)'"
[[ $(text_of SCRIVANE_TRAY 1011) == "リセット" ]] || fail "button 1011 reads '$(text_of SCRIVANE_TRAY 1011)'"
ctl post SCRIVANE_TRAY "$wm_close" 0 0
expect_message "ホットキーの登録に失敗しました。" 1
open_options
click 1001
ctl post SCRIVANE_TRAY "$wm_close" 0 0
expect_message "設定を変更するには、設定ファイル (Scrivane.cfg) を削除してください。" 1
wait_exit "$program" 10
kill "$holder" 2>/dev/null || true
wait "$holder" 2>/dev/null || true
echo "PASS"
