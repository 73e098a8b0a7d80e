#!/usr/bin/env bash
# Closing the settings window and the tray menu: the hot-key warning when another program holds the
# key, the notice without the tray, and Exit chosen from the tray icon's menu.
source "$E2E_LIB"

wm_close=16
vk_down=0x28
vk_return=0x0D

# The hot key taken by another program before Scrivane starts.
"$WINELOADER" "$SCRIVCTL" hold-hotkey "$vk_print_screen" 0 60000 >"$work/hold.out" 2>&1 &
e2e_pids+=($!)
for _ in $(seq 50); do grep -q held "$work/hold.out" && break; sleep 0.1; done
grep -q held "$work/hold.out" || fail "the other program could not take Print Screen"

step "a hot key held elsewhere is only noted at start: no message"
start_program
program=$program_pid
wait_for_program
if ctl message-text Scrivane 1000 >/dev/null; then fail "a message box appeared at start"; fi

step "closing the settings window asks about the hot key; Cancel keeps things as they are"
ctl post SCRIVANE_TRAY "$wm_close" 0 0
text=$(ctl message-text Scrivane 5000) || fail "no message box after closing with the hot key taken"
[[ "$text" == "Failed to register HotKey." ]] || fail "message '$text', expected 'Failed to register HotKey.'"
ctl answer-message Scrivane 2 || fail "the message box did not close on Cancel"
still_running "$program" || fail "the program ended after Cancel"

step "OK goes to stand-by without the hot key"
ctl post SCRIVANE_TRAY "$wm_close" 0 0
ctl message-text Scrivane 5000 >/dev/null || fail "no message box the second time"
ctl answer-message Scrivane 1 || fail "the message box did not close on OK"
sleep 0.5
still_running "$program" || fail "the program ended after OK"
if ctl visible SCRIVANE_TRAY; then fail "the settings window is visible after OK"; fi

step "Exit from the tray icon's menu ends the program with code 0"
wait_for_tray_icon
xdotool mousemove 13 32 click 3
ctl wait-visible "#32768" 5000 >/dev/null || fail "the tray menu did not open"
# Config, the separator (skipped), Exit.
ctl key "$vk_down" "$vk_down" "$vk_return"
wait_exit "$program" 10
[[ $exit_code -eq 0 ]] || fail "exit code $exit_code after Exit from the menu"
[[ $(file_size "$cfg") -eq 340 ]] || fail "no settings written after Exit from the menu"

step "without the tray, closing the settings window offers to end the program"
write_settings 0x7E 1
start_program
program=$program_pid
wait_session 10000 "no paint session at start" >/dev/null
ctl post SCRIVANE_TRAY "$wm_close" 0 0
text=$(ctl message-text Scrivane 5000) || fail "no notice after closing without the tray"
[[ "$text" == 'To modify options, remove the config file "Scrivane.cfg".' ]] || fail "notice '$text'"
ctl answer-message Scrivane 2 || fail "the notice did not close on Cancel"
sleep 0.5
still_running "$program" || fail "Cancel ended the program"
[[ $(session_count) -eq 1 ]] || fail "Cancel changed the session"
ctl post SCRIVANE_TRAY "$wm_close" 0 0
ctl message-text Scrivane 5000 >/dev/null || fail "no notice the second time"
ctl answer-message Scrivane 1 || fail "the notice did not close on OK"
wait_exit "$program" 10
[[ $exit_code -eq 0 ]] || fail "exit code $exit_code after OK"
[[ $(hex_at "$cfg" 0 4) == 7e000000 ]] || fail "flags saved as $(hex_at "$cfg" 0 4), expected 7e000000"

echo "PASS"
