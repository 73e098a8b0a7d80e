#!/usr/bin/env bash
# The options window as a user meets it: opened from the tray menu at the pointer; boxes clicked, a
# delay, a pen key and a launch key typed, and exactly those values saved at Exit; then in Japanese,
# closed while another program holds the hot key, and without the tray.
source "$E2E_LIB"

wm_close=16
vk_down=0x28
vk_return=0x0D

# A left click in the middle of option control ID.
click() {
  local info l t r b
  info=$(ctl control SCRIVANE_TRAY "$1") || fail "no option control $1"
  read -r l t r b _ <<<"$info"
  # Keys sent right after the click must find the focus moved: give Wine's focus change time.
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click 1 sleep 0.3
}

text_of() {
  ctl control "$1" "$2" | cut -d' ' -f5-
}

# Wine's tray takes the first click after another window had the input for itself: the middle button,
# which the icon ignores, spends it. Then DOWNS times Down and Return choose an item.
tray_menu() {
  xdotool mousemove 13 32 click 2 click 3
  ctl wait-visible "#32768" 5000 >/dev/null || fail "the tray menu did not open"
  [[ -z "${2:-}" ]] || xdotool mousemove $2
  for _ in $(seq "$1"); do ctl key "$vk_down"; done
  ctl key "$vk_return"
}

# close_with TEXT BUTTON: closing the options shows TEXT in the program's message box; BUTTON (1 OK,
# 2 Cancel) answers it.
close_with() {
  ctl post SCRIVANE_TRAY "$wm_close" 0 0
  ctl message-text Scrivane 5000 >/dev/null || fail "no message box, expected '$1'"
  local text
  text=$(text_of "#32770" 65535)
  [[ "$text" == "$1" ]] || fail "message '$text', expected '$1'"
  ctl answer-message Scrivane "$2" || fail "the message box did not close"
}

start() {
  start_program
  program=$program_pid
  ctl wait-window SCRIVANE_TRAY 15000 || fail "the program did not start"
}

step "Config from the tray menu shows the options with the pointer on their caption"
python3 "$(dirname "$E2E_LIB")/screen.py" settings "$cfg"
start
timeout 10 xdotool search --sync --onlyvisible --name '^Wine System Tray$' >/dev/null || fail "no tray"
tray_menu 1 "600 400"
ctl wait-visible SCRIVANE_TRAY 5000 >/dev/null || fail "Config showed nothing"
read -r l t r b <<<"$(ctl rect SCRIVANE_TRAY)"
read -r _ box_top _ <<<"$(ctl control SCRIVANE_TRAY 1001)"
(((l + r) / 2 == 600 && t < 400 && 400 < box_top - 10)) \
  || fail "window at $l,$t-$r,$b, first box at y $box_top: the pointer at 600,400 is not on the caption's middle"

step "clicked boxes, a typed delay, pen key and launch key are what Exit saves"
click 1014  # Include Cursor on
click 1010  # Remember Palette off
click 1006
ctl key 0x24 + key-down 0x10 + key 0x23 + key-up 0x10 + key 0x32  # Home, Shift+End, "2"
click 1009
ctl key 0x72  # F3
click 1004
ctl key-down 0x11 + key 0x2C + key-up 0x11  # Ctrl+Print Screen
sleep 0.3  # the control takes the keys before the tray menu's Exit saves
tray_menu 2  # past the separator to "E&xit"
wait_exit "$program" 10
got=$(od -A n -t x4 -j 0 -N 24 "$cfg" | xargs)
[[ "$got" == "00000177 0000022c 00000002 00000000 00000005 00000072" ]] \
  || fail "flags, launch key, delay, pen, size, pen key saved as $got; expected 177 22c 2 0 5 72"

step "in Japanese, with the launch key held elsewhere: the options, and message 123 whose Cancel keeps them open"
"$WINELOADER" "$SCRIVCTL" hold-hotkey 0x2C 2 30000 >"$work/hold.out" 2>&1 &  # Ctrl+Print Screen
holder=$!
for _ in $(seq 50); do grep -q held "$work/hold.out" && break; sleep 0.1; done
LANG=ja_JP.UTF-8 LOCPATH="$JAPANESE_LOCPATH" start
tray_menu 1  # "設定(&C)"
ctl wait-visible SCRIVANE_TRAY 5000 >/dev/null || fail "the Japanese menu's Config showed nothing"
[[ $(text_of SCRIVANE_TRAY 1001) == "タスクトレイに格納" ]] || fail "box 1001 reads '$(text_of SCRIVANE_TRAY 1001)'"
close_with "ホットキーの登録に失敗しました。" 2
ctl visible SCRIVANE_TRAY || fail "Cancel hid the options"

step "without the tray, message 122; OK ends the program, and the next start is one session"
click 1001
close_with "設定を変更するには、設定ファイル (Scrivane.cfg) を削除してください。" 1
wait_exit "$program" 10
kill "$holder" 2>/dev/null || true
wait "$holder" 2>/dev/null || true
[[ $(od -A n -t x4 -N 4 "$cfg" | xargs) == 00000176 ]] || fail "flags saved as $(od -A n -t x4 -N 4 "$cfg")"
start_program
ctl wait-visible SCRIVANE_MAIN 10000 >/dev/null || fail "no session at the start without the tray"
ctl post SCRIVANE_MAIN "$wm_close" 0 0
wait_exit "$program_pid" 10
echo "PASS"
