#!/usr/bin/env bash
# Installs what is missing, builds every tree and runs every test: the native plain-logic tests
# (with AddressSanitizer and UndefinedBehaviorSanitizer, and short fuzzing runs), then the Windows
# tests under 64-bit Wine on a private X display. Leaves nothing running.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/deps.sh"

echo "== checking the layers, the formatting and the committed pictures"
python3 "$root/scripts/check-layers.py"
# The program's code; the tests and the measuring programs keep their tables one row a line.
git ls-files '*.cpp' '*.h' '*.c' ':!tests' ':!bench' | xargs clang-format --dry-run --Werror
# The pictures are committed so that the build needs no Python; they must still be what the
# generator draws.
mkdir -p build
generated=$(mktemp -d "$root/build/resources.XXXXXX")
python3 "$root/scripts/gen_resources.py" "$generated"
for f in "$generated"/*; do
  cmp "$f" "resources/$(basename "$f")" || { echo "resources/$(basename "$f") differs from scripts/gen_resources.py's drawing" >&2; exit 1; }
done
rm -rf "$generated"
echo "pictures: $(ls resources/*.ico resources/*.cur resources/*.bmp | wc -l) files as generated"

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
