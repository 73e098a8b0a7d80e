#!/usr/bin/env bash
# A paint session with the real desktop, hot key and tray: the desktop's picture, a tray click's delay,
# the program killed during a session, and "Via Clipboard" while another program holds the clipboard.
source "$E2E_LIB"

write_settings 0x5A00007F 1  # marks in unused bits: only a whole read and a whole write keep them
cp "$cfg" "$work.stored"
start_program
show_picture

step "the hot key opens a session at once, showing the desktop"
assert_between "$(hot_key_session)" 0 700 "hot key to session"
expect_picture 3000 "the session does not show the desktop"
close_session

step "a click on the tray icon opens a session after the 1 s delay"
click_tray_icon 1
assert_between "$(ctl wait SCRIVANE_MAIN visible 10000)" 500 3000 "tray click to session"

step "killed during the session: the session goes, the settings stay; the next copy has the hot key, saves them whole"
kill -KILL "$program" && { wait "$program" 2>/dev/null || true; }
ctl wait SCRIVANE_MAIN gone 5000 || fail "the session outlived its program"
cmp -s "$cfg" "$work.stored" || fail "the kill changed the settings file"
start_program
hot_key_session >/dev/null
close_session
exit_program
cmp -s "$cfg" "$work.stored" || fail "settings written back as $(hex_at "$cfg" 0 24)..."

step "Via Clipboard with the clipboard held elsewhere: after two tries a second apart, a copy of the screen"
write_settings 0xFF 1
start_program
hold clipboard 8000
assert_between "$(hot_key_session 10000)" 1800 5000 "hot key to session with the clipboard held"
expect_picture 3000 "the session does not show the desktop"
close_session
exit_program
echo PASS
