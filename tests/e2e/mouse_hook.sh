#!/usr/bin/env bash
# "Enable Mouse Hook" with the module beside the program: a right press while the middle button is
# held starts a session at once. Without the module, or with a module that cannot be released, the
# program runs on as before and the same gesture does nothing.
source "$E2E_LIB"
: "${SCRIVANE_HOOK_DLL:?}" "${BROKEN_HOOK_DLL:?}"
[[ -f $SCRIVANE_HOOK_DLL && -f $BROKEN_HOOK_DLL ]] || fail "the hook modules are not built: $SCRIVANE_HOOK_DLL $BROKEN_HOOK_DLL"

# The gesture over the picture window (low-level hooks see input over Wine windows only). Prints the
# milliseconds from the right press to a visible paint window, or "none" if none came within 1.5 s.
gesture() {
  local ms
  xdotool mousemove $((picture_x + picture_size / 2)) $((picture_y + picture_size / 2)) mousedown 2
  sleep 0.2
  xdotool mousedown 3
  ms=$(ctl wait-visible "$session_class" 1500 2>/dev/null) || ms=none
  xdotool mouseup 3 mouseup 2
  echo "$ms"
}

# The program answers and ends cleanly: the hot key still opens a session, and Exit gives code 0.
check_runs_on() {
  still_running "$program" || fail "the program ended"
  hot_key_session >/dev/null
  close_session
  exit_program
  wait_exit "$program" 10
  [[ $exit_code -eq 0 ]] || fail "exit code $exit_code after Exit, expected 0"
}

show_picture
# A long delay, so that a delayed launch cannot pass for an immediate one.
write_settings 0x47F 3

step "with the module: middle held, right press starts a session at once"
cp "$SCRIVANE_HOOK_DLL" "$work/Scrivane.dll"
start_program
program=$program_pid
wait_for_program
ms=$(gesture)
echo "   right press to session: $ms"
[[ $ms != none ]] || fail "no paint session within 1.5 s of the gesture"
assert_between "$ms" 0 1000 "right press to session"
expect_picture before 3000 "the session does not show the desktop"
close_session

step "with the module: a right press alone and a middle press alone start nothing"
xdotool mousemove $((picture_x + picture_size / 2)) $((picture_y + picture_size / 2)) click 3
xdotool click 2
if ctl wait-visible "$session_class" 1500 >/dev/null 2>&1; then fail "a single button started a session"; fi
check_runs_on

step "without the module the gesture does nothing"
rm "$work/Scrivane.dll"
start_program
program=$program_pid
wait_for_program
ms=$(gesture)
[[ $ms == none ]] || fail "a session started after $ms ms without the module"
check_runs_on

step "a module without Release is not used"
cp "$BROKEN_HOOK_DLL" "$work/Scrivane.dll"
start_program
program=$program_pid
wait_for_program
ms=$(gesture)
[[ $ms == none ]] || fail "a session started after $ms ms with a module that lacks Release"
check_runs_on
echo "PASS"
