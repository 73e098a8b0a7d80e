# Shared by the end-to-end scripts: a private copy of the program in its own folder (so its settings
# file is its own), starting and stopping it by PID, and reading what it left behind.
set -euo pipefail
: "${SCRIVANE_EXE:?}" "${SCRIVCTL:?}" "${E2E_WORK:?}" "${WINELOADER:?}"

test_name=$(basename "$0" .sh)
work="$E2E_WORK/$test_name"
rm -rf "$work"
mkdir -p "$work"
cp "$SCRIVANE_EXE" "$work/Scrivane.exe"
cfg="$work/Scrivane.cfg"

e2e_pids=()
e2e_cleanup() {
  local pid
  for pid in "${e2e_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

step() {
  echo "-- $*"
}

ctl() {
  "$WINELOADER" "$SCRIVCTL" "$@"
}

# Starts the program from its folder; its PID is left in $program_pid.
start_program() {
  (cd "$work" && exec "$WINELOADER" "$work/Scrivane.exe") &
  program_pid=$!
  e2e_pids+=("$program_pid")
}

# wait_exit PID SECONDS: waits for the process to end; its exit code is left in $exit_code.
wait_exit() {
  local pid=$1 seconds=$2 waited=0
  while kill -0 "$pid" 2>/dev/null; do
    if ((waited >= seconds * 10)); then
      fail "process $pid still running after ${seconds}s"
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  exit_code=0
  wait "$pid" || exit_code=$?
}

still_running() {
  kill -0 "$1" 2>/dev/null
}

file_size() {
  stat -c %s "$1"
}

# Bytes of a file as hex, from OFFSET for LENGTH bytes.
hex_at() {
  od -A n -t x1 -v -j "$2" -N "$3" "$1" | tr -d ' \n'
}

# The tray window: wait until the program is up.
wait_for_program() {
  ctl wait-window SCRIVANE_TRAY 15000 || fail "the program's window did not appear"
}

exit_program() {
  ctl command SCRIVANE_TRAY 32772 || fail "could not send Exit"
}

# ---- Paint sessions: settings files, a known picture on the desktop, launching and timing.

session_class=SCRIVANE_MAIN
vk_print_screen=0x2C
vk_escape=0x1B
wm_close=16
pixel_tolerance=4

# The four bytes of a little-endian u32.
le32() {
  local v=$(($1))
  printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((v & 255)) $((v >> 8 & 255)) $((v >> 16 & 255)) $((v >> 24 & 255)))"
}

# write_settings FLAGS DELAY: a 340-byte settings file with Print Screen as the hot key, pen 0 of size
# 5, F1 as the pen key, a black palette and no save path.
write_settings() {
  {
    le32 "$1"
    le32 0x2C
    le32 "$2"
    le32 0
    le32 5
    le32 0x70
    head -c $((340 - 24)) /dev/zero
  } >"$cfg"
}

now_ms() {
  echo $(($(date +%s%N) / 1000000))
}

# A 200x200 picture of four pure quadrants at (400,300); change_picture repaints it with others. Every
# quadrant differs from its counterpart, and none is the grey of `ctl flash`.
picture_x=400
picture_y=300
picture_size=200
picture_before=(FF0000 00FF00 0000FF FFFF00)
picture_after=(00FFFF FF00FF 40C0A0 102030)

# "X Y RRGGBB" for the centre of each quadrant of a picture at X Y of SIZE with the given colours.
quadrant_points() {
  local x=$1 y=$2 q=$(($3 / 4))
  shift 3
  echo "$((x + q)) $((y + q)) $1 $((x + 3 * q)) $((y + q)) $2 $((x + q)) $((y + 3 * q)) $3 $((x + 3 * q)) $((y + 3 * q)) $4"
}

# The Wine process itself is the background job, so that the clean-up at exit ends it; it must not hold
# the test's output open either.
show_picture() {
  "$WINELOADER" "$SCRIVCTL" show-picture "$picture_x" "$picture_y" "$picture_size" "$picture_size" \
    "${picture_before[@]}" "${picture_after[@]}" >/dev/null 2>&1 &
  e2e_pids+=($!)
  expect_picture before 15000 "the picture window did not show"
}

change_picture() {
  ctl change-picture || fail "the picture window did not take the change"
}

# expect_picture before|after MS WHAT: the screen shows that picture within MS, else fail with WHAT.
expect_picture() {
  local -n colours=picture_$1
  # shellcheck disable=SC2046
  ctl wait-pixels "$2" "$pixel_tolerance" $(quadrant_points "$picture_x" "$picture_y" "$picture_size" "${colours[@]}") \
    || fail "$3 (expected the picture as it was $1 the change)"
}

# keep_picture before|after MS WHAT: the screen shows that picture all the time for MS.
keep_picture() {
  local -n colours=picture_$1
  # shellcheck disable=SC2046
  ctl keep-pixels "$2" "$pixel_tolerance" $(quadrant_points "$picture_x" "$picture_y" "$picture_size" "${colours[@]}") \
    || fail "$3 (expected the picture as it was $1 the change)"
}

# Covers the middle of the picture with another window and removes it: what is on top must paint
# that part again from what it holds.
flash_over_picture() {
  ctl flash $((picture_x + 20)) $((picture_y + 20)) $((picture_size - 40)) $((picture_size - 40)) \
    || fail "the covering window did not show"
}

# Prints the milliseconds from the hot key to a visible paint window.
hot_key_session() {
  ctl key "$vk_print_screen" + wait-visible "$session_class" "${1:-5000}" || fail "no paint session after the hot key"
}

# wait_session MS WHAT: prints the milliseconds until the paint window is visible.
wait_session() {
  ctl wait-visible "$session_class" "$1" || fail "$2"
}

session_count() {
  ctl count "$session_class"
}

close_session() {
  ctl post "$session_class" "$wm_close" 0 0 || fail "no paint window to close"
  ctl wait-gone "$session_class" 5000 || fail "the paint window is still there after WM_CLOSE"
}

# The tray appears once the program has added its icon; the first icon's centre is at (13,32).
wait_for_tray_icon() {
  timeout 10 xdotool search --sync --onlyvisible --name '^Wine System Tray$' >/dev/null \
    || fail "the tray window did not appear"
}

click_tray_icon() {
  xdotool mousemove 13 32 click 1
}

# assert_between VALUE LOW HIGH WHAT: LOW <= VALUE <= HIGH.
assert_between() {
  (($1 >= $2 && $1 <= $3)) || fail "$4: ${1} ms, expected ${2} to ${3} ms"
}

# ---- Drawing with real input over a white desktop.

scr() { python3 "$(dirname "$E2E_LIB")/screen.py" "$@"; }
# see X,Y=RRGGBB...: the screen shows those pixels within 3 s, or the test fails with $what.
see() { scr expect 3 "$@" || fail "$what"; }
# xdotool with a pause for every "-" and after the last event, so that no movement is merged into
# the next one.
drive() {
  local args=() a
  for a in "$@"; do
    if [[ $a == - ]]; then args+=(sleep 0.08); else args+=("$a"); fi
  done
  xdotool "${args[@]}" sleep 0.15
}
# A white window of the test's own under everything the program shows; leaves the screen size in
# $sw and $sh.
white_desktop() {
  read -r sw sh < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
  "$WINELOADER" "$SCRIVCTL" show-picture 0 0 "$sw" "$sh" FFFFFF FFFFFF FFFFFF FFFFFF >/dev/null 2>&1 &
  e2e_pids+=($!)
  scr expect 15 640,400=FFFFFF 10,790=FFFFFF >/dev/null || fail "the desktop did not turn white"
}
