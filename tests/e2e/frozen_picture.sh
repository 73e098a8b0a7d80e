#!/usr/bin/env bash
# A paint session shows the desktop as it was when the session started, whatever happens behind it,
# and both ways of closing it (WM_CLOSE, the Escape key) bring the program back to stand-by with the
# hot key working again.
source "$E2E_LIB"

start_program
program=$program_pid
wait_for_program
show_picture

step "the hot key opens a session showing the picture"
hot_key_session >/dev/null
expect_picture before 3000 "the session does not show the desktop"

step "the picture changes behind the session: the session keeps the old one, also when it paints again"
change_picture
keep_picture before 500 "the session shows the change"
flash_over_picture
expect_picture before 2000 "after being covered, the session painted something else than its copy"
[[ $(session_count) -eq 1 ]] || fail "$(session_count) paint windows, expected 1"

step "WM_CLOSE ends the session and the desktop shows the changed picture"
close_session
expect_picture after 3000 "the desktop is not visible after the session"

step "the hot key works again, and the new session copies the changed picture"
hot_key_session >/dev/null
expect_picture after 3000 "the second session does not show the current desktop"

step "the Escape key ends the session when it is released"
ctl key-down "$vk_escape" || fail "could not press Escape"
sleep 0.5
ctl visible "$session_class" || fail "the session ended while Escape was still held"
ctl key-up "$vk_escape" || fail "could not release Escape"
ctl wait-gone "$session_class" 5000 || fail "the paint window is still there after Escape"
still_running "$program" || fail "the program ended with the session"

step "the hot key works after Escape too"
hot_key_session >/dev/null
close_session

exit_program
wait_exit "$program" 10
[[ $exit_code -eq 0 ]] || fail "exit code $exit_code after Exit, expected 0"
echo "PASS"
