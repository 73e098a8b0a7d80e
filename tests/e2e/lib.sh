# Shared by the end-to-end stories: a copy of the program in a folder (and with a settings file) of its
# own, started and ended by PID, and a known picture for the sessions to freeze.
set -euo pipefail
: "${SCRIVANE_EXE:?}" "${SCRIVCTL:?}" "${E2E_WORK:?}" "${WINELOADER:?}"
work="$E2E_WORK/$(basename "$0" .sh)" cfg="$work/Scrivane.cfg"
rm -rf "$work" && mkdir -p "$work" && cp "$SCRIVANE_EXE" "$work/Scrivane.exe"

pids=()
e2e_cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done; }
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }
runner=()  # the user the program and ctl run as; empty: this one
ctl() { "${runner[@]}" "$WINELOADER" "$SCRIVCTL" "$@"; }
hex_at() { od -A n -t x1 -v -j "$2" -N "$3" "$1" | tr -d ' \n'; }  # FILE OFFSET LENGTH
assert_between() { (($1 >= $2 && $1 <= $3)) || fail "$4: $1 ms, expected $2 to $3 ms"; }

# write_settings FLAGS DELAY: a 340-byte file with Print Screen, pen 0 of width 5, F1 and no path.
write_settings() {
  python3 -c "import struct; open('$cfg','wb').write(struct.pack('<6I',$1,44,$2,0,5,112).ljust(340,b'\0'))"
}

# Starts the program from the settings' folder, its PID in $program; waits for its window unless told not to.
start_program() {
  (cd "${cfg%/*}" && exec "${runner[@]}" "$WINELOADER" Scrivane.exe) &
  program=$!
  pids+=("$program")
  [[ ${1:-} == --no-wait ]] || ctl wait SCRIVANE_TRAY present 15000 || fail "the program's window did not appear"
}

expect_exit() {  # PID WHAT: the process ends with code 0 within 10 s
  timeout 10 tail --pid="$1" -s 0.1 -f /dev/null || fail "$2: still running after 10 s"
  local rc=0 && wait "$1" || rc=$?
  ((rc == 0)) || fail "$2: exit code $rc"
}

exit_program() { ctl post SCRIVANE_TRAY 0x111 32772 0 || fail "could not send Exit"; expect_exit "$program" "Exit"; }

# Prints the milliseconds from the hot key to a visible paint window.
hot_key_session() { ctl key 0x2C + wait SCRIVANE_MAIN visible "${1:-5000}" || fail "no session after the hot key"; }

close_session() { ctl post SCRIVANE_MAIN 16 + wait SCRIVANE_MAIN gone 5000 || fail "WM_CLOSE closed no session"; }

# The first icon of Wine's tray window is centred at (13,32). After input to another window the tray
# takes the first click for itself: the middle button, which the icon ignores, spends it.
click_tray_icon() {
  timeout 10 xdotool search --sync --onlyvisible --name '^Wine System Tray$' >/dev/null || fail "no tray window"
  xdotool mousemove 13 32 click 2 click "$1"
}

# A helper in the background, its output in $work.out.
helper() { "$WINELOADER" "$SCRIVCTL" "$@" >"$work.out" 2>&1 & pids+=($!); }

# show_picture [X Y W H X Y...]: `scrivctl picture` (by default below the tray icon) and the points
# expect_picture checks. A helper's first window gets 15 s: Wine may be cold.
show_picture() {
  (($#)) || set -- 0 100 1280 700 100 150 255 450 256 450 700 620 1279 799
  helper picture "${@:1:4}"
  points=("${@:5}")
  expect_picture 15000 "the picture did not show"
}

# expect_picture MS WHAT: within MS, the picture shows at every point.
expect_picture() { ctl pixels "$1" $(printf '%s %s - ' "${points[@]}") || fail "$2"; }

# hold clipboard|VK MODS MS: another program keeps the clipboard open, or owns that hot key.
hold() {
  helper hold "$@"
  for _ in $(seq 150); do grep -qs held "$work.out" && return; sleep 0.1; done
  fail "the other program could not hold the $1"
}

# white_desktop: white paper under the sessions, its size in $sw x $sh.
white_desktop() {
  read -r sw sh < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
  helper picture 0 0 "$sw" "$sh" FFFFFF
  ctl pixels 15000 640 400 FFFFFF >/dev/null || fail "the desktop did not turn white"
}
see() { ctl pixels 3000 "${@:2}" || fail "$1"; }  # WHAT X Y RRGGBB...: the screen shows them within 3 s
# xdotool with a pause for every "-" and after the last event, so that no movement merges into the next.
drive() { xdotool $(printf '%s\n' "$@" | sed 's/^-$/sleep 0.1/') sleep 0.15; }
