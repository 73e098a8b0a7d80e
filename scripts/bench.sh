#!/usr/bin/env bash
# Builds the 64-bit program and runs the drawing benchmark under Wine on private X screens of
# 1920x1080 and 3840x2160 (or the sizes given), printing one table per screen. Leaves nothing running.
# Usage: scripts/bench.sh [WIDTHxHEIGHT ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/deps.sh"
"$root/scripts/build.sh" x86_64 >/dev/null
source "$root/scripts/wine-env.sh"
trap stop_everything EXIT

sizes=("$@")
((${#sizes[@]})) || sizes=(1920x1080 3840x2160)
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(wine64 --version 2>/dev/null || "$WINELOADER" --version)"
for size in "${sizes[@]}"; do
  start_private_display "${size}x24"
  ensure_wine_prefix
  start_wineserver
  "$WINELOADER" "$root/build/x86_64/bench/bench_session.exe"
  stop_everything
done
