#!/usr/bin/env bash
# "Via Clipboard" with no bitmap to take: after two tries a second apart, a copy of the screen. (A bitmap
# taken from the clipboard: the session component test.)
source "$E2E_LIB"

write_settings 0xFF 1
start_program

step "an empty clipboard: after two tries a second apart, a copy of the screen"
show_picture
ctl clipboard empty || fail "could not empty the clipboard"
assert_between "$(hot_key_session 10000)" 1800 5000 "hot key to session with an empty clipboard"
expect_picture 0x40 3000 "the session does not show the desktop"
close_session

step "another program holds the clipboard open: after the two tries, a copy of the screen"
ctl clipboard E01070 || fail "could not put a bitmap on the clipboard"
hold clipboard 8000
assert_between "$(hot_key_session 10000)" 1800 5000 "hot key to session with the clipboard held"
expect_picture 0x40 3000 "the session does not show the desktop"
close_session
exit_program
echo PASS
