#!/usr/bin/env bash
# Soak run: one Scrivane under Wine on a private display, SESSIONS sessions (200) of EVENTS (400)
# seeded random pointer, wheel and key messages each, reporting the process's GDI objects, windows
# and memory before and after. Fails when a session does not open or close, the program ends or
# does not exit cleanly, or anything grows after the first session. A tool, not part of the test
# command. A run is the same for the same arguments; "scripts/soak.sh SEED 1 EVENTS N" gives
# session N's input alone to a fresh program.
# Usage: scripts/soak.sh [SEED] [SESSIONS] [EVENTS] [FIRST]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seed=${1:-1} sessions=${2:-200} events=${3:-400} first=${4:-1}

"$root/scripts/build.sh" x86_64 >/dev/null
source "$root/scripts/wine-env.sh"
trap stop_everything EXIT
start_private_display
ensure_wine_prefix
start_wineserver

work="$root/build/soak"
rm -rf "$work"
mkdir -p "$work"
cp build/x86_64/Scrivane.exe "$work/"
(cd "$work" && exec "$WINELOADER" Scrivane.exe) &
program=$!
started_pids+=("$program")
"$WINELOADER" build/x86_64/tests/tools/scrivctl.exe wait SCRIVANE_TRAY present 15000
resident() { sed -n 's/^VmRSS: *//p' "/proc/$program/status"; }

echo "seed $seed, sessions $first to $((first + sessions - 1)), $events events each (resident: $(resident))"
began=$SECONDS
status=0
"$WINELOADER" build/x86_64/bench/soak.exe "$seed" "$sessions" "$events" "$first" || status=$?
echo "resident after: $(resident); $((SECONDS - began)) s"

"$WINELOADER" build/x86_64/tests/tools/scrivctl.exe post SCRIVANE_TRAY 0x111 32772 0 || status=1
exit_code=0
wait "$program" || exit_code=$?
echo "program exit code after Exit: $exit_code"
((exit_code == 0)) || status=1
exit "$status"
