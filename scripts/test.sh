#!/usr/bin/env bash
# Installs what is missing, builds every tree and runs every test: the native plain-logic tests
# (with AddressSanitizer and UndefinedBehaviorSanitizer), then the Windows tests under 64-bit Wine on
# a private X display. Leaves nothing running.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/deps.sh"

echo "== checking the layers"
python3 "$root/scripts/check-layers.py"

"$root/scripts/build.sh" x86_64 i686 native

echo "== checking the two executables"
"$root/scripts/check-binaries.sh"

echo "== native tests"
ctest --test-dir build/native --output-on-failure

source "$root/scripts/wine-env.sh"
trap stop_everything EXIT
start_private_display
ensure_wine_prefix
start_wineserver

echo "== Windows tests under Wine (DISPLAY=$DISPLAY)"
ctest --test-dir build/x86_64 --output-on-failure -j 2
