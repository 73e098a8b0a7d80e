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
