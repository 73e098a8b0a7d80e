#!/usr/bin/env bash
# Start-up, the single-instance hand-over, Exit, and what is left in the settings file.
source "$E2E_LIB"

# A 340-byte record: tray mode and defaults, with marks in the fields that must survive as stored.
write_record() {
  local path=$1 length=$2
  {
    printf '\x7f\x00\x00\x00'          # flags: tray mode and the default options
    printf '\x2c\x00\x00\x00'          # launchHotKey: Print Screen
    printf '\x01\x00\x00\x00'          # launchDelay
    printf '\x03\x00\x00\x00'          # lastPen
    printf '\x07\x00\x00\x00'          # penSize
    printf '\x70\x00\x00\x00'          # penSelectKey
    printf '\xa1\xa2\xa3\xa4\xa5\xa6\xa7\xa8'   # reserved1
    printf '\x11\x22\x33\x00%.0s' {1..8}        # palette
    printf '\xb1\xb2\xb3\xb4%.0s' {1..4}        # reserved2
    printf 'C:\\pictures\\kept.bmp'
    head -c $((260 - 20)) /dev/zero
  } >"$path"
  truncate -s "$length" "$path"
}

step "first start without a settings file stays hidden and keeps running"
start_program
first=$program_pid
wait_for_program
sleep 1
still_running "$first" || fail "the first copy ended"
if ctl visible SCRIVANE_TRAY; then fail "the settings window is visible"; fi
[[ ! -e "$cfg" ]] || fail "a settings file was written while running"

step "a second start exits with code 0 at once and does not touch the settings file"
start_program
second=$program_pid
wait_exit "$second" 10
[[ $exit_code -eq 0 ]] || fail "second copy exit code $exit_code"
[[ ! -e "$cfg" ]] || fail "the second copy wrote a settings file"
still_running "$first" || fail "the first copy ended after the second start"

step "Exit ends the program with code 0 and writes 340 bytes beside the executable"
exit_program
wait_exit "$first" 10
[[ $exit_code -eq 0 ]] || fail "exit code $exit_code after Exit"
[[ -f "$cfg" ]] || fail "no settings file after Exit"
[[ $(file_size "$cfg") -eq 340 ]] || fail "settings file has $(file_size "$cfg") bytes"
[[ $(hex_at "$cfg" 0 24) == "7f0000002c00000001000000000000000500000070000000" ]] \
  || fail "defaults not written: $(hex_at "$cfg" 0 24)"

step "a stored record survives a run byte for byte, and a second start leaves it alone"
write_record "$cfg" 340
cp "$cfg" "$work/expected.cfg"
start_program
first=$program_pid
wait_for_program
start_program
wait_exit "$program_pid" 10
[[ $exit_code -eq 0 ]] || fail "second copy exit code $exit_code"
cmp -s "$cfg" "$work/expected.cfg" || fail "the second start changed the settings file"
exit_program
wait_exit "$first" 10
cmp -s "$cfg" "$work/expected.cfg" || fail "the record changed: $(hex_at "$cfg" 0 96)"

step "an 80-byte file comes back as 340 bytes, its 80 bytes kept and the save path empty"
write_record "$cfg" 80
head -c 80 "$cfg" >"$work/expected-head"
start_program
first=$program_pid
wait_for_program
exit_program
wait_exit "$first" 10
[[ $exit_code -eq 0 ]] || fail "exit code $exit_code"
[[ $(file_size "$cfg") -eq 340 ]] || fail "settings file has $(file_size "$cfg") bytes"
cmp -s <(head -c 80 "$cfg") "$work/expected-head" || fail "the first 80 bytes changed"
[[ $(hex_at "$cfg" 80 260 | tr -d 0) == "" ]] || fail "save path not empty"

echo "PASS"
