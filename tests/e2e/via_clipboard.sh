#!/usr/bin/env bash
# "Via Clipboard": the session takes the bitmap found on the clipboard after its own Print Screen
# press and shows it at the top-left; with none there, it falls back to a screen copy after two
# tries a second apart.
source "$E2E_LIB"

# check_clipboard_picture W H C1 C2 C3 C4: the session shows a W x H picture of those quadrants at
# (0,0): its four corner pixels (which catch a flipped or shifted picture, or rows of the wrong
# length) and the middle of each quadrant.
check_clipboard_picture() {
  local w=$1 h=$2
  shift 2
  local points=(
    0 0 "$1" $((w - 1)) 0 "$2" 0 $((h - 1)) "$3" $((w - 1)) $((h - 1)) "$4"
    $((w / 4)) $((h / 4)) "$1" $((3 * w / 4)) $((h / 4)) "$2" $((w / 4)) $((3 * h / 4)) "$3" $((3 * w / 4)) $((3 * h / 4)) "$4"
  )
  ctl wait-pixels 3000 "$pixel_tolerance" "${points[@]}" || fail "the session does not show the clipboard's picture"
}

write_settings 0xFF 1
start_program
program=$program_pid
wait_for_program

step "a 24-bit bottom-up bitmap with padded rows is shown at once at the top-left"
colours=(2060A0 C0A040 40C020 E01070)
ctl set-clipboard-dib 24 61 41 "${colours[@]}" || fail "could not put the bitmap on the clipboard"
ms=$(hot_key_session)
echo "   hot key to session: ${ms} ms"
# A second try would only come after a second.
assert_between "$ms" 0 900 "hot key to session with a bitmap on the clipboard"
check_clipboard_picture 61 41 "${colours[@]}"
close_session

step "a 32-bit top-down bit-fields bitmap, red in the lowest byte"
colours=(A02060 40C0A0 2040C0 F0E010)
ctl set-clipboard-dib 32 64 48 "${colours[@]}" top-down || fail "could not put the bitmap on the clipboard"
ms=$(hot_key_session)
echo "   hot key to session: ${ms} ms"
assert_between "$ms" 0 900 "hot key to session with a bitmap on the clipboard"
check_clipboard_picture 64 48 "${colours[@]}"
close_session

step "an empty clipboard: the session opens after two tries with a copy of the screen"
show_picture
ctl clear-clipboard || fail "could not empty the clipboard"
ms=$(hot_key_session 10000)
echo "   hot key to session: ${ms} ms"
assert_between "$ms" 1800 5000 "hot key to session with an empty clipboard"
expect_picture before 3000 "the session does not show the desktop"
change_picture
flash_over_picture
expect_picture before 2000 "the session does not keep its copy of the desktop"
close_session

exit_program
wait_exit "$program" 10
[[ $exit_code -eq 0 ]] || fail "exit code $exit_code after Exit, expected 0"
echo "PASS"
