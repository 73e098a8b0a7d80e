#!/usr/bin/env bash
# Builds the 64-bit program and runs the benchmarks under Wine on private X screens of 1920x1080 and
# 3840x2160 (or the sizes given), printing for each screen the in-process drawing table and the
# end-to-end table (injected input to the changed screen pixel, against a reference window); then, on
# the first screen, the idle cost of the program waiting in the tray. Leaves nothing running.
# Usage: scripts/bench.sh [WIDTHxHEIGHT ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/deps.sh"
"$root/scripts/build.sh" x86_64 >/dev/null
source "$root/scripts/wine-env.sh"
trap stop_everything EXIT

# A copy of the program in a folder of its own; its Windows path in $program.
work="$root/build/bench-work"
rm -rf "$work"
mkdir -p "$work"
cp "$root/build/x86_64/Scrivane.exe" "$work/"
program="Z:${work//\//\\}\\Scrivane.exe"
latency="$root/build/x86_64/bench/bench_latency.exe"

# A session at once (no tray, no delay) with the remembered pen: red, 5 pixels wide.
end_to_end() {
  python3 -c "import struct; open('$work/Scrivane.cfg','wb').write(struct.pack('<6I8xI',0x38,44,1,0,5,112,0xFF).ljust(340,b'\0'))"
  "$WINELOADER" "$latency" "$program"
}

# The Wine process whose command line ends in Scrivane.exe, in this run's prefix.
program_pid() {
  local p line
  for p in /proc/[0-9]*; do
    line=$(tr -s '\0' ' ' 2>/dev/null <"$p/cmdline") || continue
    [[ ${line% } == *Scrivane.exe ]] || continue  # Wine pads the command line with NULs
    tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" && { echo "${p#/proc/}"; return; }
  done
  return 1
}
wakeups() { cat /proc/"$1"/task/*/status | awk '/^voluntary_ctxt_switches/ { s += $2 } END { print s }'; }
cpu_ticks() { sed 's/.*) //' /proc/"$1"/stat | awk '{ print $12 + $13 }'; }  # utime + stime

# Default settings: the program waits in the tray. Voluntary context switches of its threads (the
# UI thread's apart) and CPU time over 10 s.
idle_cost() {
  rm -f "$work/Scrivane.cfg"
  "$WINELOADER" "$program" &
  local launcher=$! pid=""
  for _ in $(seq 100); do pid=$(program_pid) && break; sleep 0.1; done
  [[ -n $pid ]] || { echo "idle: the program did not start"; return; }
  sleep 3  # start-up done
  local w0 m0 c0 w1 m1 c1
  w0=$(wakeups "$pid") m0=$(awk '/^voluntary_ctxt_switches/ { print $2 }' /proc/"$pid"/status) c0=$(cpu_ticks "$pid")
  sleep 10
  w1=$(wakeups "$pid") m1=$(awk '/^voluntary_ctxt_switches/ { print $2 }' /proc/"$pid"/status) c1=$(cpu_ticks "$pid")
  echo "idle in the tray, 10 s: $((m1 - m0)) wake-ups of the UI thread, $((w1 - w0)) of all its threads," \
    "CPU $(((c1 - c0) * 1000 / $(getconf CLK_TCK))) ms"
  "$WINELOADER" "$latency" exit
  wait "$launcher" || true
}

sizes=("$@")
((${#sizes[@]})) || sizes=(1920x1080 3840x2160)
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(wine64 --version 2>/dev/null || "$WINELOADER" --version)"
for size in "${sizes[@]}"; do
  start_private_display "${size}x24"
  ensure_wine_prefix
  start_wineserver
  "$WINELOADER" "$root/build/x86_64/bench/bench_session.exe"
  echo
  end_to_end
  [[ $size != "${sizes[0]}" ]] || { echo; idle_cost; }
  stop_everything
done
