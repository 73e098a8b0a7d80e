#!/usr/bin/env bash
# Breaks the program on purpose, one line at a time, and tells which test notices. A tool for
# judging the tests (before cutting or adding some), not part of the test command.
#
# For each mutant in scripts/mutants.txt (or the table MUTANTS_TABLE names): replace the original
# fragment (it must occur exactly once in the file), rebuild x86_64 and native incrementally, run the native tests, then the Windows tests under Wine,
# each stopping at the first failure; put the file back with a fresh time stamp so that ninja
# rebuilds the clean object. Prints one row per mutant: the first failing test, or SURVIVED.
#
# Usage: scripts/mutants.sh [name-filter]    (an extended regular expression, e.g. 'hook|tray')
# Logs: build/mutants/NAME.log. Exits 1 when a mutant survived or did not build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
filter=${1:-}

mutants_table=$(cat "${MUTANTS_TABLE:-$root/scripts/mutants.txt}")

names=() files=() originals=() replacements=()
while IFS= read -r line; do
  case $line in
    '' | '#'*) ;;
    '  - '*) original=${line#'  - '} ;;
    '  + '*)
      if [[ -z $filter || $name =~ $filter ]]; then
        names+=("$name") files+=("$file") originals+=("$original") replacements+=("${line#'  + '}")
      fi
      ;;
    *) read -r name file <<<"$line" ;;
  esac
done <<<"$mutants_table"
((${#names[@]})) || { echo "no mutant matches '$filter'" >&2; exit 2; }

logs="$root/build/mutants"
mkdir -p "$logs"
saved=$(mktemp "$logs/.original.XXXXXX")
mutated=

# Puts the mutated file back, newer than the object built from the mutant.
restore() {
  if [[ -n $mutated ]]; then
    cat "$saved" >"$root/$mutated"
    touch "$root/$mutated"
    mutated=
  fi
}

source "$root/scripts/wine-env.sh"
trap 'restore; rm -f "$saved"; stop_everything' EXIT
start_private_display
ensure_wine_prefix
start_wineserver

# replace FILE ORIGINAL REPLACEMENT: fails unless the original occurs exactly once.
replace() {
  python3 - "$@" <<'PY'
import sys
path, old, new = sys.argv[1:]
with open(path, encoding="utf-8", newline="") as f:
    text = f.read()
count = text.count(old)
if count != 1:
    sys.exit(f"{path}: the original occurs {count} times, expected once")
with open(path, "w", encoding="utf-8", newline="") as f:
    f.write(text.replace(old, new))
PY
}

# first_failure DIR: the name of the first failing test of the last ctest run there.
first_failure() {
  local failed="$1/Testing/Temporary/LastTestsFailed.log"
  if [[ -s $failed ]]; then head -n 1 "$failed" | cut -d: -f2-; else echo "?"; fi
}

# run_tests LOG: answers 0 when everything passed, 1 when a test failed (named in $caught_by), 2
# when the failing test passed when run again.
run_tests() {
  rm -f build/native/Testing/Temporary/LastTestsFailed.log build/x86_64/Testing/Temporary/LastTestsFailed.log
  if ! ctest --test-dir build/native --stop-on-failure >>"$1" 2>&1; then
    caught_by="$(first_failure build/native) (native)"
    return 1
  fi
  if ! ctest --test-dir build/x86_64 --stop-on-failure --output-on-failure >>"$1" 2>&1; then
    caught_by=$(first_failure build/x86_64)
    # A GoogleTest program is one test: its first failing case is named too.
    local name failed_case
    failed_case=$(grep -m 1 -oP '^\[  FAILED  \] \K[\w.]+' "$1" || true)
    # Wine now and then ends a test program before it starts; a catch must fail again to count.
    name=$(printf '%s' "$caught_by" | sed 's/[][\.*^$+?(){}|/]/\\&/g')
    if ctest --test-dir build/x86_64 -R "^$name\$" >>"$1" 2>&1; then
      caught_by="FLAKY: $caught_by passed when run again"
      return 2
    fi
    caught_by="$caught_by${failed_case:+ $failed_case}"
    return 1
  fi
}

echo "== the clean tree"
scripts/build.sh x86_64 native >"$logs/clean.log" 2>&1 || { echo "the clean tree does not build" >&2; exit 1; }
if ! run_tests "$logs/clean.log"; then
  echo "the clean tree fails $caught_by: see $logs/clean.log" >&2
  exit 1
fi

results=()
bad=0
for i in "${!names[@]}"; do
  name=${names[i]} file=${files[i]}
  log="$logs/$name.log"
  start=$SECONDS
  cp "$root/$file" "$saved"
  if ! replace "$root/$file" "${originals[i]}" "${replacements[i]}" >"$log" 2>&1; then
    result="NOT APPLIED ($(tail -n 1 "$log"))"
    bad=1
  else
    mutated=$file
    if ! scripts/build.sh x86_64 native >>"$log" 2>&1; then
      result="DOES NOT BUILD"
      bad=1
    else
      run_tests "$log" && status=0 || status=$?
      case $status in
        0) result="SURVIVED" bad=1 ;;
        1) result=$caught_by ;;
        *) result=$caught_by bad=1 ;;
      esac
    fi
    restore
  fi
  results+=("$(printf '%-26s %-70s %4ss' "$name" "$result" $((SECONDS - start)))")
  echo "${results[-1]}"
done

echo "== rebuilding the clean tree"
scripts/build.sh x86_64 native >>"$logs/clean.log" 2>&1

echo
printf '%-26s %-70s %5s\n' mutant "caught by" time
printf '%s\n' "${results[@]}"
exit "$bad"
