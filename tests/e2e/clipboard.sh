#!/usr/bin/env bash
# "Via Clipboard" while another program holds the clipboard open: after two tries a second apart, a
# copy of the screen. (A bitmap taken from the clipboard: the session component test.)
source "$E2E_LIB"

write_settings 0xFF 1
start_program
show_picture
hold clipboard 8000
assert_between "$(hot_key_session 10000)" 1800 5000 "hot key to session with the clipboard held"
expect_picture 3000 "the session does not show the desktop"
close_session
exit_program
echo PASS
