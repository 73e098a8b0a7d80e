#!/usr/bin/env bash
# How each way of starting a session honours the launch delay: the hot key starts one at once, a tray
# click and a second start of the program wait the delay as stored, and a start while a session runs
# changes nothing.
source "$E2E_LIB"

# The time from a click on the tray icon to a visible paint window.
tray_session_ms() {
  local start
  start=$(now_ms)
  click_tray_icon
  wait_session 10000 "no paint session after a click on the tray icon" >/dev/null
  echo $(($(now_ms) - start))
}

step "defaults (1 s delay): the hot key opens a session at once"
start_program
program=$program_pid
wait_for_program
wait_for_tray_icon
show_picture
ms=$(hot_key_session)
echo "   hot key to session: ${ms} ms"
assert_between "$ms" 0 700 "hot key to session"
expect_picture before 3000 "the session does not show the desktop"
close_session

step "a click on the tray icon opens one after the delay"
ms=$(tray_session_ms)
echo "   tray click to session: ${ms} ms"
assert_between "$ms" 800 3000 "tray click to session"
expect_picture before 3000 "the session does not show the desktop"

step "a second start during the session exits 0 and changes nothing"
change_picture
start_program
wait_exit "$program_pid" 10
[[ $exit_code -eq 0 ]] || fail "the second copy exited with $exit_code, expected 0"
# Longer than the delay: a session it started would be up by now.
keep_picture before 1800 "the screen changed after the second start"
[[ $(session_count) -eq 1 ]] || fail "$(session_count) paint windows after the second start, expected 1"
ctl visible "$session_class" || fail "the paint window was hidden by the second start"
close_session
expect_picture after 3000 "the desktop is not visible after the session"

step "after the session, a second start opens one after the delay"
start=$(now_ms)
start_program
second=$program_pid
wait_session 10000 "no paint session after a second start" >/dev/null
ms=$(($(now_ms) - start))
echo "   second start to session: ${ms} ms"
assert_between "$ms" 800 4000 "second start to session"
wait_exit "$second" 10
[[ $exit_code -eq 0 ]] || fail "the second copy exited with $exit_code, expected 0"
expect_picture after 3000 "the session does not show the desktop"
close_session

exit_program
wait_exit "$program" 10
[[ $exit_code -eq 0 ]] || fail "exit code $exit_code after Exit, expected 0"

step "a stored delay of 2 s: the tray click waits it, the hot key still does not"
write_settings 0x7F 2
start_program
program=$program_pid
wait_for_program
wait_for_tray_icon
ms=$(tray_session_ms)
echo "   tray click to session with a 2 s delay: ${ms} ms"
assert_between "$ms" 1800 4000 "tray click to session with a 2 s delay"
close_session
ms=$(hot_key_session)
echo "   hot key to session with a 2 s delay: ${ms} ms"
assert_between "$ms" 0 1200 "hot key to session with a 2 s delay"
close_session

exit_program
wait_exit "$program" 10
[[ $exit_code -eq 0 ]] || fail "exit code $exit_code after Exit, expected 0"
[[ $(hex_at "$cfg" 8 4) == 02000000 ]] || fail "launchDelay written back as $(hex_at "$cfg" 8 4), expected 02000000"

step "Delayed Launching off: the tray click does not wait the stored delay"
write_settings 0x7B 2
start_program
program=$program_pid
wait_for_program
wait_for_tray_icon
ms=$(tray_session_ms)
echo "   tray click to session without Delayed Launching: ${ms} ms"
assert_between "$ms" 0 1200 "tray click to session without Delayed Launching"
close_session
exit_program
wait_exit "$program" 10
[[ $exit_code -eq 0 ]] || fail "exit code $exit_code after Exit, expected 0"
echo "PASS"
