#!/usr/bin/env bash
# Start-up while another program owns Print Screen, a second copy handing over to the first, the
# options from the tray menu, and Exit from the tray menu writing the settings chosen there.
source "$E2E_LIB"

hold 0x2C 0 120000  # Print Screen

step "the hot key taken: a quiet start; a second start exits 0 at once, the first copy opens a session after 1 s"
start_program
first=$program
if ctl wait '#32770' present 1000 2>/dev/null; then fail "a message box at start"; fi
start_program --no-wait
expect_exit "$program" "the second copy"
assert_between "$(ctl wait SCRIVANE_MAIN visible 5000)" 400 4000 "from the second copy's end to a session"
close_session
[[ ! -e $cfg ]] || fail "a settings file was written before Exit"

# tray_menu DOWNS [X Y]: the tray icon's menu, the pointer moved to X Y, DOWNS times Down and Return.
tray_menu() {
  click_tray_icon 3
  ctl wait '#32768' visible 5000 >/dev/null || fail "the tray menu did not open"
  [[ -z ${2:-} ]] || xdotool mousemove "$2" "$3"
  ctl key $(yes 0x28 | head -n "$1") 0x0D
}
# A left click in the middle of option control ID; the focus change takes Wine a moment.
click() {
  read -r l t r b < <(ctl rect SCRIVANE_TRAY "$1") || fail "no option control $1"
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click 1 sleep 0.3
}

step "Config from the tray menu shows the options with the pointer on their caption"
tray_menu 1 600 400
ctl wait SCRIVANE_TRAY visible 5000 >/dev/null || fail "Config showed nothing"
read -r l t r b < <(ctl rect SCRIVANE_TRAY)
read -r _ box_top _ < <(ctl rect SCRIVANE_TRAY 1001)
(((l + r) / 2 == 600 && t < 400 && 400 < box_top - 10)) \
  || fail "window at $l,$t-$r,$b, first box at y $box_top: the pointer at 600,400 is not on the caption's middle"

step "boxes clicked, a delay, pen key and launch key typed: Exit from the menu saves them, 340 bytes, nothing else"
click 1014  # Include Cursor on
click 1010  # Remember Palette off
click 1006
ctl key 0x24 + key down 0x10 + key 0x23 + key up 0x10 + key 0x32  # Home, Shift+End, "2"
click 1009
ctl key 0x72  # F3
click 1004
ctl key down 0x11 + key 0x2C + key up 0x11  # Ctrl+Print Screen
sleep 0.3  # the control takes the keys before Exit saves
tray_menu 2  # past the separator to Exit
expect_exit "$first" "Exit from the menu"
[[ $(stat -c %s "$cfg") == 340 && $(hex_at "$cfg" 0 24) == 770100002c02000002000000000000000500000072000000 ]] \
  || fail "settings written as $(stat -c %s "$cfg") bytes starting $(hex_at "$cfg" 0 24)"
[[ $(ls "$work") == $'Scrivane.cfg\nScrivane.exe' ]] || fail "files left beside the program: $(ls "$work")"
echo PASS
