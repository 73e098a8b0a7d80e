# Sourced by the run and test scripts: the Wine environment kept inside the build tree, a private
# X display, a persistent wineserver, and a teardown that ends exactly what was started here.
# Expects $root (the repository) to be set.

wine_dir=$(dirname "$(dpkg -L wine64 | grep '/wine/wine64$' | head -n 1)")
export WINELOADER="$wine_dir/wine64"
export WINESERVER="$wine_dir/wineserver"
# SCRIVANE_WINEPREFIX lets runs side by side keep apart: one wineserver is one desktop, and the
# tests find the program by its window class.
export WINEPREFIX="${SCRIVANE_WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

started_pids=()
wineserver_started=0

# Starts Xvfb on a display number the server picks itself (so parallel runs never collide).
start_private_display() {
  local size=${1:-1280x800x24}
  local fifo
  fifo=$(mktemp -u "$root/build/.display.XXXXXX")
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  started_pids+=($!)
  local n
  read -r -t 20 n <"$fifo" || { rm -f "$fifo"; echo "Xvfb did not start" >&2; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$n"
}

# Creates the prefix once (kept in the build tree), with managed windows off: without a window
# manager Wine otherwise stalls about two seconds at every activation.
ensure_wine_prefix() {
  if [[ ! -f "$WINEPREFIX/.scrivane-ready" ]]; then
    mkdir -p "$WINEPREFIX"
    "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
    "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    "$WINESERVER" -w
    touch "$WINEPREFIX/.scrivane-ready"
  fi
}

# A persistent server spares every test program the wait for its own server to exit.
start_wineserver() {
  "$WINESERVER" -p
  wineserver_started=1
  "$WINELOADER" wineboot >/dev/null 2>&1 || true
}

stop_everything() {
  if ((wineserver_started)); then
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    wineserver_started=0
  fi
  local pid
  for pid in "${started_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  started_pids=()
}
