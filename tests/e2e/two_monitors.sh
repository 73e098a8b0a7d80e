#!/usr/bin/env bash
# A paint session on two monitors with the second one left of the primary, so that the virtual
# screen starts at x = -1024: the paint window covers both monitors, and the frozen picture of the
# desktop is shown where the desktop was, the left monitor's part included.
#
# Xvfb has one monitor only, so this test brings its own two-monitor Xorg (scripts/xorg-dummy.sh).
# It also needs its own Wine prefix and server: a process of the shared server, whose desktop runs
# on the shared Xvfb, sees that one monitor whatever DISPLAY it is given itself.
# Skips (exit 77) where Xorg cannot run.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
prefix="$root/build/wineprefix-two-monitors"

# One run at a time owns that prefix and its server; another one (from a second build tree, or a
# second test run in this one) waits here. flock -o keeps the lock in flock itself, so no process
# this test starts inherits it, and a run that is killed lets the next one in.
if [[ ${SCRIVANE_TWO_MONITORS_LOCKED:-} != 1 ]]; then
  mkdir -p "$root/build"
  rc=0
  SCRIVANE_TWO_MONITORS_LOCKED=1 flock -o -E 75 -w 120 "$prefix.lock" bash "$0" "$@" || rc=$?
  ((rc != 75)) || echo "FAIL: another run kept $prefix.lock for 120 s" >&2
  exit "$rc"
fi

source "$root/scripts/wine-env.sh"
source "$root/scripts/xorg-dummy.sh"
source "$E2E_LIB"

probe="$(dirname "$SCRIVCTL")/monitor_probe.exe"
[[ -f $probe ]] || fail "no monitor_probe.exe beside scrivctl.exe"

teardown() {
  e2e_cleanup
  stop_everything  # the server of this test's own prefix
  stop_dummy_display
}
trap teardown EXIT

step "a two-monitor X display"
if ! start_dummy_display "$work/xorg"; then
  echo "SKIP: $dummy_display_error"
  exit 77
fi
echo "DISPLAY=$DISPLAY"

# Created once and kept in the build tree, like the shared prefix. A server left by a run that was
# killed would still have its desktop on that run's display: end it first.
export WINEPREFIX="$prefix"
"$WINESERVER" -k >/dev/null 2>&1 || true
"$WINESERVER" -w
ensure_wine_prefix
# As start_wineserver, but the server (and the desktop and services with it) ends by itself 30 s
# after the last program, should this test be killed before its teardown.
"$WINESERVER" -p30
wineserver_started=1
"$WINELOADER" wineboot >/dev/null 2>&1 || true

probe() {
  "$WINELOADER" "$probe" "$@"
}

step "Wine sees the left monitor at (-1024, 0)"
metrics=$(probe metrics | tr -d '\r')
expected_metrics="virtual -1024 0 2304 800
monitors 2
monitor 0 0 1280 800 primary
monitor -1024 0 0 768"
[[ $(sort <<<"$metrics") == $(sort <<<"$expected_metrics") ]] \
  || fail "display layout under Wine: got [$metrics], expected [$expected_metrics]"

# The probe's picture: 128x100 blocks from the virtual screen's corner (-1024, 0), block (bx, by)
# coloured RGB(16 + 12 bx, 24 + 28 by, blue); blue 0x40 at first, 0xC0 after message 1025.
colour_at() {
  local x=$1 y=$2 blue=$3
  printf '%02X%02X%02X' $((16 + 12 * ((x + 1024) / 128))) $((24 + 28 * (y / 100))) "$blue"
}

# Corners and edges of both monitors, a block edge inside the left monitor (-897 | -896) and the
# seam between the monitors (-1 | 0). The pointer rests in the middle of the X screen, at
# (128, 400) under Wine; no point is near it.
points=(
  -1024 0   -1024 767   -1 0   -1 767
  -897 50   -896 50     -600 380   -40 700
  0 10      0 799       1279 0     1279 799
  640 250   1000 650
)

# screen_shows BLUE: the screen shows the probe's picture with that blue at every point; else
# leaves "x,y actual/expected" for the points that differ in $mismatches.
screen_shows() {
  local blue=$1 i actual
  mapfile -t actual < <(probe pixels "${points[@]}" | tr -d '\r')
  mismatches=""
  for ((i = 0; i < ${#points[@]}; i += 2)); do
    local x=${points[i]} y=${points[i + 1]}
    local expected
    expected=$(colour_at "$x" "$y" "$blue")
    [[ ${actual[i / 2]:-none} == "$expected" ]] || mismatches+=" ($x,$y) ${actual[i / 2]:-none}/$expected"
  done
  [[ -z $mismatches ]]
}

# wait_screen_shows BLUE SECONDS WHAT
wait_screen_shows() {
  local blue=$1 seconds=$2 what=$3 start=$SECONDS
  until screen_shows "$blue"; do
    ((SECONDS - start < seconds)) || fail "$what; pixels (x,y) actual/expected:$mismatches"
    sleep 0.2
  done
}

step "the program starts with default settings"
start_program
program=$program_pid
wait_for_program

step "a known picture over both monitors, shown before the session"
"$WINELOADER" "$probe" pattern &
probe_pid=$!
e2e_pids+=("$probe_pid")
ctl wait-window SCRIVANE_PROBE 10000 || fail "the probe's window did not appear"
wait_screen_shows 0x40 10 "the probe's picture is not on the screen before the session"

step "a session covers the whole virtual screen"
session_start=$SECONDS
ctl post SCRIVANE_TRAY 1026 0 0 || fail "could not post the launch message"
until ctl visible SCRIVANE_MAIN; do
  ((SECONDS - session_start < 10)) || fail "the paint window was not visible 10 s after the launch message"
  sleep 0.1
done
rect=$(ctl rect SCRIVANE_MAIN | tr -d '\r')
[[ $rect == "-1024 0 1280 800" ]] || fail "paint window rectangle: got $rect, expected -1024 0 1280 800"

step "the session shows the desktop where it was, on both monitors"
wait_screen_shows 0x40 5 "the session does not show the desktop in place"

step "the session's picture stays as it was when the desktop changes behind it"
ctl post SCRIVANE_PROBE 1025 0 0 || fail "could not post to the probe"
sleep 1
screen_shows 0x40 || fail "the session's picture changed with the desktop; pixels (x,y) actual/expected:$mismatches"

step "closing the session uncovers the changed desktop"
ctl post SCRIVANE_MAIN 16 0 0 || fail "could not post WM_CLOSE to the paint window"
ctl wait-gone SCRIVANE_MAIN 10000 || fail "the paint window is still there 10 s after WM_CLOSE"
wait_screen_shows 0xC0 10 "the probe's changed picture is not on the screen after the session"

step "Exit ends the program with code 0"
still_running "$program" || fail "the program ended with the session"
exit_program
wait_exit "$program" 10
[[ $exit_code -eq 0 ]] || fail "exit code $exit_code after Exit, expected 0"

ctl post SCRIVANE_PROBE 16 0 0 || fail "could not close the probe"
wait_exit "$probe_pid" 10

echo "PASS"
