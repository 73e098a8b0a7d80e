#!/usr/bin/env bash
# The shipped program is the 32-bit one; the tests run the 64-bit one. Both must be what they claim.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
check() {
  local file=$1 want=$2 objdump=$3
  if [[ ! -f "$file" ]]; then echo "missing: $file"; status=1; return; fi
  local fmt
  fmt=$("$objdump" -f "$file" | sed -n 's/.*file format //p' | head -n 1)
  if [[ "$fmt" == "$want" ]]; then echo "ok: $file is $fmt"; else echo "wrong: $file is '$fmt', want $want"; status=1; fi
}
check "$root/build/i686/Scrivane.exe" pei-i386 i686-w64-mingw32-objdump
check "$root/build/x86_64/Scrivane.exe" pei-x86-64 x86_64-w64-mingw32-objdump
# The main download; the 64-bit zip is checked by its tree's tests.
for zip in "$root"/build/i686/Scrivane-*-win32.zip; do
  python3 "$root/release/check_zip.py" "$zip" || status=1
done
exit $status
