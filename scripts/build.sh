#!/usr/bin/env bash
# Configures and builds the requested trees under build/: x86_64 (run by the tests under Wine),
# i686 (the shipped 32-bit program) and native (plain logic with sanitizers).
# Usage: scripts/build.sh [x86_64] [i686] [native]   (default: all three)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

targets=("$@")
((${#targets[@]})) || targets=(x86_64 i686 native)
jobs=$(nproc)

for t in "${targets[@]}"; do
  dir="build/$t"
  case "$t" in
    x86_64|i686) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$t.cmake") ;;
    native) args=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
    *) echo "unknown build: $t" >&2; exit 2 ;;
  esac
  if [[ ! -f "$dir/build.ninja" ]]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${args[@]}" >/dev/null
  fi
  echo "== building $t"
  cmake --build "$dir" -j "$jobs"
done
