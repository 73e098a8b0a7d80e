#!/usr/bin/env bash
# The shipped program is the 32-bit one; the tests run the 64-bit one. Both must be what they claim,
# and so must the release zips a user downloads.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
check() {
  local file=$1 want=$2 objdump=$3
  if [[ ! -f "$file" ]]; then echo "missing: $file"; status=1; return; fi
  local fmt
  fmt=$("$objdump" -f "$file" | sed -n 's/.*file format //p' | head -n 1)
  if [[ "$fmt" == "$want" ]]; then echo "ok: $file is $fmt"; else echo "wrong: $file is '$fmt', want $want"; status=1; fi
  # Without the flag a 32-bit program has 2 GB of address space: too little for the largest desktops.
  if [[ $(basename "$file") == Scrivane.exe ]] && ! "$objdump" -p "$file" | grep -x $'\tlarge address aware' >/dev/null; then
    echo "wrong: $file is not large-address aware"; status=1
  fi
}
# One folder named for the release with exactly the four files; the binaries built for the zip's
# machine and stripped; the help page in both languages.
check_zip() {
  local zip=$1 want=$2 objdump=$3 name files unpacked f
  name=$(basename "$zip" .zip)
  files=$(unzip -Z1 "$zip" | grep -v '/$' | sort | xargs)
  [[ "$files" == "$name/ReadMe.txt $name/Scrivane.dll $name/Scrivane.exe $name/Scrivane.htm" ]] \
    || { echo "wrong: $zip holds $files"; status=1; }
  unpacked=$(mktemp -d "$root/build/zip-check.XXXXXX")
  unzip -q "$zip" -d "$unpacked"
  for f in Scrivane.exe Scrivane.dll; do
    check "$unpacked/$name/$f" "$want" "$objdump"
    "$objdump" -t "$unpacked/$name/$f" | grep -qx "no symbols" || { echo "wrong: $name/$f keeps symbols"; status=1; }
  done
  grep -q "Stand-by in TaskTray" "$unpacked/$name/Scrivane.htm" && grep -q "タスクトレイに格納" "$unpacked/$name/Scrivane.htm" \
    || { echo "wrong: the help page in $zip lacks a language"; status=1; }
  rm -rf "$unpacked"
  echo "ok: $zip, $(stat -c %s "$zip") bytes"
}
check "$root/build/i686/Scrivane.exe" pei-i386 i686-w64-mingw32-objdump
check "$root/build/x86_64/Scrivane.exe" pei-x86-64 x86_64-w64-mingw32-objdump
check_zip "$root/build/i686/Scrivane-1.0.1-win32.zip" pei-i386 i686-w64-mingw32-objdump
check_zip "$root/build/x86_64/Scrivane-1.0.1-win64.zip" pei-x86-64 x86_64-w64-mingw32-objdump
exit $status
