#!/usr/bin/env bash
# Start-up while another program owns Print Screen, a second copy handing over to the first, and Exit
# from the real tray menu writing the settings.
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

step "Exit from the tray icon's menu (past Config and the separator) saves the settings, 340 bytes, nothing else"
click_tray_icon 3
ctl wait '#32768' visible 5000 >/dev/null || fail "the tray menu did not open"
ctl key 0x28 0x28 0x0D
expect_exit "$first" "Exit from the menu"
[[ $(stat -c %s "$cfg") == 340 ]] || fail "settings written as $(stat -c %s "$cfg") bytes"
[[ $(ls "$work") == $'Scrivane.cfg\nScrivane.exe' ]] || fail "files left beside the program: $(ls "$work")"
echo PASS
