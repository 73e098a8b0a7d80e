#!/usr/bin/env bash
# Two monitors, the second left of the primary so that the virtual screen starts at x = -1024: the
# session covers both and shows the frozen desktop where it was. Xvfb has one monitor only, so this
# story brings its own Xorg (scripts/xorg-dummy.sh), and its own Wine prefix and server: a process of
# the shared server sees the shared display's one monitor. Skipped (exit 77) where Xorg cannot run.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
prefix="$root/build/wineprefix-two-monitors"

# One run at a time owns that prefix; another waits here. flock -o keeps the lock out of the
# processes this story starts, and a run that is killed lets the next one in.
if [[ ${SCRIVANE_TWO_MONITORS_LOCKED:-} != 1 ]]; then
  rc=0
  SCRIVANE_TWO_MONITORS_LOCKED=1 flock -o -E 75 -w 120 "$prefix.lock" bash "$0" || rc=$?
  ((rc != 75)) || echo "FAIL: another run kept $prefix.lock for 120 s" >&2
  exit "$rc"
fi

source "$root/scripts/wine-env.sh"
source "$root/scripts/xorg-dummy.sh"
source "$E2E_LIB"
trap 'e2e_cleanup; stop_everything; stop_dummy_display' EXIT

step "a two-monitor X display, and a Wine server of its own on it"
start_dummy_display "$work/xorg" || { echo "SKIP: $dummy_display_error"; exit 77; }
export WINEPREFIX="$prefix"
"$WINESERVER" -k >/dev/null 2>&1 || true  # a killed run's server still has its desktop on that display
"$WINESERVER" -w
ensure_wine_prefix
"$WINESERVER" -p30  # ends by itself 30 s after the last program, should this story be killed
wineserver_started=1
"$WINELOADER" wineboot >/dev/null 2>&1 || true

step "the picture over both monitors"
start_program
# Corners and edges of both monitors, a block edge inside the left one, the seam between them.
show_picture -1024 0 2304 800 -1024 0 -1024 767 -1 0 -1 767 -897 50 -896 50 -40 700 0 10 0 799 1279 0 1279 799 640 250

step "a session covers the virtual screen and shows the desktop where it was"
ctl post SCRIVANE_TRAY 1026 || fail "could not post the launch"
ctl wait SCRIVANE_MAIN visible 10000 >/dev/null || fail "no session after the launch message"
expect_picture 5000 "the session does not show the desktop in place"
close_session
exit_program
echo PASS
