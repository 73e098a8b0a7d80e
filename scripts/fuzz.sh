#!/usr/bin/env bash
# Runs each fuzz target (all, or the ones named) for SECONDS, one after another, starting from the
# seeds in tests/native/corpus/<target> and what earlier runs kept in build/native/fuzz/<target>.
# Prints per target: executions; the edges libFuzzer's coverage feedback reached, of all it can
# see (the rest are mostly the sanitizers' and the harness's own failure paths); the lines and
# branches of the code under test (one file or more) that the resulting corpus covers, from a replay built with
# source-based coverage; and findings (saved beside the corpus). Exits 1 on any finding.
# Usage: scripts/fuzz.sh SECONDS [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift

declare -A under_test=(
  [fuzz_command_line]=shell/exe_path.cpp
  [fuzz_clipboard_dib]=session/dib_layout.cpp
  [fuzz_pointer_input]="session/gesture.cpp canvas/panel_steps.cpp"
)
targets=("$@")
((${#targets[@]})) || targets=(fuzz_command_line fuzz_clipboard_dib fuzz_pointer_input)

"$root/scripts/build.sh" native >/dev/null
# The same plain-logic files the fuzzers link, for the coverage replay.
mapfile -t logic < <(sed -n '/^set(SCRIVANE_LOGIC_SOURCES/,/^)/{/\.cpp$/s/^ *//p}' CMakeLists.txt)

found_any=0
for t in "${targets[@]}"; do
  file=${under_test[$t]:?unknown target $t}
  dir="build/native/fuzz/$t"
  mkdir -p "$dir/corpus"
  stamp="$dir/.started"
  touch "$stamp"
  status=0
  "build/native/tests/native/$t" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$dir/" "$dir/corpus" "tests/native/corpus/$t" >"$dir/log" 2>&1 || status=$?

  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -n 1)
  edges=$(sed -n 's/.* cov: \([0-9]*\) .*/\1/p' "$dir/log" | tail -n 1)
  total=$(sed -n 's/.*(\([0-9]*\) inline 8-bit counters).*/\1/p' "$dir/log" | head -n 1)
  mapfile -t findings < <(find "$dir" -maxdepth 1 -newer "$stamp" -regex '.*/\(crash\|leak\|timeout\|oom\|slow-unit\)-.*')

  clang++ -std=c++17 -O1 -I. -fsanitize=fuzzer -fprofile-instr-generate -fcoverage-mapping \
    "tests/native/$t.cpp" "${logic[@]}" -o "$dir/replay"
  rm -f "$dir/replay.profraw"
  c=()
  # A corpus that still holds a finding stops the replay early: no figure then, rather than a wrong one.
  if LLVM_PROFILE_FILE="$dir/replay.profraw" "$dir/replay" -runs=0 -artifact_prefix="$dir/replay-" "$dir/corpus" "tests/native/corpus/$t" >/dev/null 2>&1 &&
    llvm-profdata merge -o "$dir/replay.profdata" "$dir/replay.profraw"; then
    # Columns: regions, missed, cover, functions, missed, executed, lines, missed, cover, branches, missed, cover.
    read -r -a c < <(llvm-cov report "$dir/replay" -instr-profile="$dir/replay.profdata" $file | grep '^TOTAL')
  fi

  printf '%-19s %12s executions  %4s of %4s edges  %s: lines %s, branches %s  findings %d\n' \
    "$t" "${runs:-?}" "${edges:-?}" "${total:-?}" "$file" "${c[9]:-?}" "${c[12]:-?}" "${#findings[@]}"
  if ((status != 0 || ${#findings[@]})); then
    found_any=1
    printf '    %s\n' "${findings[@]}" "exit status $status, log $dir/log"
  fi
done
exit "$found_any"
