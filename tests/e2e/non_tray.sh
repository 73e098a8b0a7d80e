#!/usr/bin/env bash
# Without the tray option the program is one session: it starts with one, and closing it ends the
# program, which leaves its settings behind.
source "$E2E_LIB"

show_picture
# The short form of the record (its first 80 bytes): what the program writes back is the full one.
write_settings 0x7E 1
truncate -s 80 "$cfg"

step "the program starts with a session showing the desktop"
start_program
program=$program_pid
wait_session 10000 "no paint session at start" >/dev/null
expect_picture before 3000 "the session does not show the desktop"
[[ $(session_count) -eq 1 ]] || fail "$(session_count) paint windows, expected 1"

step "closing the session ends the program with code 0 and writes the settings"
close_session
wait_exit "$program" 10
[[ $exit_code -eq 0 ]] || fail "exit code $exit_code after the session, expected 0"
[[ $(file_size "$cfg") -eq 340 ]] || fail "settings file has $(file_size "$cfg") bytes, expected 340"
[[ $(hex_at "$cfg" 0 12) == 7e0000002c00000001000000 ]] \
  || fail "flags, hot key, delay written as $(hex_at "$cfg" 0 12), expected 7e0000002c00000001000000"
echo "PASS"
