#!/usr/bin/env bash
# The fault table, end to end: each row puts one fault in the real program's way, then checks that
# the settings come out whole and that the program runs on, or ends, as designed. The rows about
# file permissions run as an unprivileged user with a Wine prefix and home of its own (as root, Wine
# writes through read-only folders and files). A row that cannot run here says why. The faults a
# component test observes better are in tests/component/faults_test.cpp.
source "$E2E_LIB"
: "${SCRIVANE_HOOK_DLL:?}" "${BROKEN_HOOK_DLL:?}" "${FAILING_HOOK_DLL:?}"

rows=(
  "read_only_folder_writable_file|the settings folder is read-only, the settings file writable|the file is rewritten in place, whole"
  "read_only_folder_and_file|the settings folder and file are read-only|the old file stays as it was"
  "killed_during_a_session|the program is killed during a session|the next start reads the old file whole"
  "hook_capture_fails|the hook module's Capture answers FALSE|the program runs as without the module"
  "hook_without_release|the hook module lacks Release|the program runs as without the module"
  "hook_not_a_module|Scrivane.dll is no module at all|the program runs as without the module"
  "hot_key_held|another program holds the hot key|no message; a second start still opens a session"
  "clipboard_held|another program holds the clipboard open during a capture (Via Clipboard)|the session shows a copy of the screen after the two tries"
)
# Every row's record: tray mode, the default options and pen, and marks in the unused flag bits that
# only a whole read and a whole write keep. A session that draws nothing leaves it as it was.
flags=0x5A00007F
runner=()  # the user the program and its helper run as; empty: this one
user_home="$E2E_WORK/unprivileged"  # kept between runs: a new prefix takes about 15 s

as_user() { "${runner[@]}" "$@"; }
uctl() { as_user "$WINELOADER" "$SCRIVCTL" "$@"; }
skip() {
  echo "   SKIPPED: $*"
  exit 77
}

# The program from DIR as the row's user; waits for its window. Its PID is left in $program.
start_in() {
  cp -n "$SCRIVANE_EXE" "$1/Scrivane.exe"
  (cd "$1" && exec "${runner[@]}" "$WINELOADER" "$1/Scrivane.exe") &
  program=$!
  e2e_pids+=("$program")
  uctl wait-window SCRIVANE_TRAY 15000 || fail "the program's window did not appear"
}

# session_by key|second-start: a session opens and closes again.
session_by() {
  if [[ $1 == key ]]; then
    uctl key "$vk_print_screen" + wait-visible "$session_class" 6000 >/dev/null || fail "no session from the hot key"
  else
    (cd "$(dirname "$cfg")" && exec "${runner[@]}" "$WINELOADER" Scrivane.exe) || fail "the second copy did not end with 0"
    uctl wait-visible "$session_class" 6000 >/dev/null || fail "no session from a second start"
  fi
  uctl post "$session_class" "$wm_close" 0 0
  uctl wait-gone "$session_class" 5000 >/dev/null || fail "the session did not close"
}

# Exit ends the program with code 0 and leaves the settings file as EXPECTED (a file).
exits_leaving() {
  still_running "$program" || fail "the program ended by itself"
  uctl command SCRIVANE_TRAY 32772 || fail "could not send Exit"
  wait_exit "$program" 10
  ((exit_code == 0)) || fail "exit code $exit_code after Exit"
  cmp -s "$cfg" "$1" || fail "settings file $(hex_at "$cfg" 0 24)... ($(file_size "$cfg") bytes), expected $(hex_at "$1" 0 24)... ($(file_size "$1") bytes)"
}

stored_record() {
  write_settings "$flags" 1
  cp "$cfg" "$work/stored.cfg"
}

# The permission rows run as nobody when this is root. Its Wine server is stopped after the row.
become_unprivileged() {
  if (($(id -u) != 0)); then
    return
  fi
  command -v setpriv >/dev/null || skip "setpriv (util-linux) is missing, and root writes through read-only files"
  runner=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$user_home/home" WINEPREFIX="$user_home/prefix")
  trap 'e2e_cleanup; as_user "$WINESERVER" -k 2>/dev/null; as_user "$WINESERVER" -w' EXIT
  if [[ ! -f $user_home/prefix/.scrivane-ready ]]; then
    mkdir -p "$user_home/home"
    chown -R 65534:65534 "$user_home"
    as_user "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
    as_user "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    as_user "$WINESERVER" -w
    as_user touch "$user_home/prefix/.scrivane-ready"
  fi
}

# read_only_folder WRITABLE_FILE: the program and an 80-byte record in a folder the user cannot
# write to; the file is theirs to write, or not.
read_only_folder() {
  become_unprivileged
  local dir="$work/read-only"
  mkdir -p "$dir"
  cfg="$dir/Scrivane.cfg"
  cp "$SCRIVANE_EXE" "$dir/Scrivane.exe"
  stored_record
  truncate -s 80 "$cfg" "$work/stored.cfg"
  if ((${#runner[@]})); then
    [[ $1 == yes ]] && chown 65534 "$cfg"
  else
    [[ $1 == yes ]] || chmod a-w "$cfg"
    chmod a-w "$dir"
    trap "chmod u+w '$dir' '$cfg'; e2e_cleanup" EXIT
  fi
}

read_only_folder_writable_file() {
  read_only_folder yes
  start_in "$(dirname "$cfg")"
  cp "$work/stored.cfg" "$work/expected.cfg"
  truncate -s 340 "$work/expected.cfg"  # the short record comes back whole, its save path empty
  exits_leaving "$work/expected.cfg"
  [[ $(ls "$(dirname "$cfg")") == $'Scrivane.cfg\nScrivane.exe' ]] || fail "left behind: $(ls "$(dirname "$cfg")")"
}

read_only_folder_and_file() {
  read_only_folder no
  start_in "$(dirname "$cfg")"
  exits_leaving "$work/stored.cfg"
}

killed_during_a_session() {
  stored_record
  start_in "$work"
  uctl post SCRIVANE_TRAY 1026 0 0
  uctl wait-visible "$session_class" 5000 >/dev/null || fail "no session"
  kill -KILL "$program"
  wait "$program" 2>/dev/null || true
  uctl wait-gone "$session_class" 5000 || fail "the session outlived its program (status $?)"
  cmp -s "$cfg" "$work/stored.cfg" || fail "the kill changed the settings file"
  start_in "$work"
  session_by key  # the killed copy's hot key is free again
  exits_leaving "$work/stored.cfg"
}

# hook_row MODULE: Scrivane.dll beside the program with "Enable Mouse Hook" on.
hook_row() {
  flags=$((flags | 0x400))
  stored_record
  if [[ -f $1 ]]; then cp "$1" "$work/Scrivane.dll"; else printf '%s' "$1" >"$work/Scrivane.dll"; fi
  start_in "$work"
  session_by key
  exits_leaving "$work/stored.cfg"
}
hook_capture_fails() { hook_row "$FAILING_HOOK_DLL"; }
hook_without_release() { hook_row "$BROKEN_HOOK_DLL"; }
hook_not_a_module() { hook_row "MZ, but nothing a loader could map"; }

hot_key_held() {
  "$WINELOADER" "$SCRIVCTL" hold-hotkey "$vk_print_screen" 0 60000 >"$work/hold.out" 2>&1 &
  e2e_pids+=($!)
  for _ in $(seq 50); do grep -qs held "$work/hold.out" && break; sleep 0.1; done
  grep -q held "$work/hold.out" || skip "the other program could not take Print Screen first"
  stored_record
  start_in "$work"
  if uctl message-text Scrivane 1000 >/dev/null; then fail "a message box appeared at start"; fi
  session_by second-start
  exits_leaving "$work/stored.cfg"
}

clipboard_held() {
  flags=$((flags | 0x80))
  stored_record
  show_picture
  "$WINELOADER" "$SCRIVCTL" hold-clipboard 8000 >"$work/hold.out" 2>&1 &
  e2e_pids+=($!)
  for _ in $(seq 50); do grep -qs held "$work/hold.out" && break; sleep 0.1; done
  grep -q held "$work/hold.out" || fail "the other program could not open the clipboard"
  start_in "$work"
  ms=$(uctl key "$vk_print_screen" + wait-visible "$session_class" 6000) || fail "no session while the clipboard was held"
  echo "   hot key to session: $ms ms"
  assert_between "$ms" 1800 4000 "two tries a second apart, then the screen"
  expect_picture before 3000 "the session does not show the screen"
  uctl post "$session_class" "$wm_close" 0 0
  uctl wait-gone "$session_class" 5000 >/dev/null || fail "the session did not close"
  exits_leaving "$work/stored.cfg"
}

failed=()
for row in "${rows[@]}"; do
  IFS='|' read -r name fault outcome <<<"$row"
  step "$fault: $outcome"
  status=0
  began=$SECONDS
  (trap e2e_cleanup EXIT && e2e_pids=() && "$name") || status=$?
  ((status == 77)) || echo "   $( ((status == 0)) && echo ok || echo "failed") after $((SECONDS - began)) s"
  ((status == 0 || status == 77)) || failed+=("$name")
  rm -rf "${work:?}"/*
done
((${#failed[@]} == 0)) || fail "rows that failed: ${failed[*]}"
echo "PASS"
