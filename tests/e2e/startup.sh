#!/usr/bin/env bash
# Start-up, a second copy handing over to the first, and Exit from the tray menu writing the settings.
source "$E2E_LIB"

step "a second start exits 0 at once; the first copy, in stand-by, opens a session after the 1 s delay"
start_program
first=$program
start_program --no-wait
expect_exit "$program" "the second copy"
assert_between "$(ctl wait SCRIVANE_MAIN visible 5000)" 400 4000 "from the second copy's end to a session"
close_session
[[ ! -e $cfg ]] || fail "a settings file was written before Exit"

step "Exit from the tray icon's menu writes the 340-byte record with the defaults, and only it"
click_tray_icon 3
ctl wait '#32768' visible 5000 >/dev/null || fail "the tray menu did not open"
ctl key 0x28 0x28 0x0D  # Config, the separator (skipped), Exit
expect_exit "$first" "Exit from the menu"
[[ $(stat -c %s "$cfg") == 340 && $(hex_at "$cfg" 0 24) == 7f0000002c00000001000000000000000500000070000000 ]] \
  || fail "settings written as $(stat -c %s "$cfg") bytes starting $(hex_at "$cfg" 0 24)"
[[ $(ls "$work") == $'Scrivane.cfg\nScrivane.exe' ]] || fail "files left beside the program: $(ls "$work")"

# Regression: saving truncated the old file first, so a write that could not complete lost it.
step "a save that cannot complete leaves the previous file as it was"
truncate -s 80 "$cfg"
mkdir "$cfg.new"  # where the new file is written before it replaces the old one
start_program
exit_program
[[ $(stat -c %s "$cfg") == 80 ]] || fail "the settings file has $(stat -c %s "$cfg") bytes, expected the previous 80"
echo PASS
