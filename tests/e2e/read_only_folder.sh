#!/usr/bin/env bash
# Settings in a folder the user cannot write to: a settings file of theirs is rewritten in place and
# whole, a read-only one stays as it was, and nothing else is left there. As root, Wine writes through
# read-only folders and files, so then the program runs as nobody, with a Wine prefix and home of its own.
source "$E2E_LIB"
if (($(id -u) == 0)); then
  command -v setpriv >/dev/null || { echo "SKIPPED: no setpriv (util-linux)"; exit 77; }
  home="$E2E_WORK/unprivileged"  # kept between runs: a new prefix takes about 15 s
  runner=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$home/home" WINEPREFIX="$home/prefix")
  trap 'e2e_cleanup; "${runner[@]}" "$WINESERVER" -k 2>/dev/null; "${runner[@]}" "$WINESERVER" -w' EXIT
  if [[ ! -f $home/prefix/.scrivane-ready ]]; then
    mkdir -p "$home/home" && chown -R 65534:65534 "$home"
    "${runner[@]}" "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
    "${runner[@]}" "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    "${runner[@]}" "$WINESERVER" -w && "${runner[@]}" touch "$home/prefix/.scrivane-ready"
  fi
else
  trap 'chmod -R u+w "$work"; e2e_cleanup' EXIT
fi

for file in writable read-only; do
  step "the settings file $file: Exit leaves it $([[ $file == writable ]] && echo "whole, from a short record" || echo "as it was")"
  dir="$work/$file" cfg="$work/$file/Scrivane.cfg" want="$work/$file.want"
  mkdir "$dir" && cp "$SCRIVANE_EXE" "$dir/Scrivane.exe"
  write_settings 0x5A00007F 1  # marks in unused bits: only a whole read and a whole write keep them
  truncate -s 80 "$cfg"
  cp "$cfg" "$want"
  [[ $file == read-only ]] || truncate -s 340 "$want"  # the save path empty
  if ((${#runner[@]})); then [[ $file == read-only ]] || chown 65534 "$cfg"
  else [[ $file == writable ]] || chmod a-w "$cfg"; chmod a-w "$dir"; fi
  start_program
  exit_program
  cmp -s "$cfg" "$want" || fail "settings $(hex_at "$cfg" 0 12)... ($(stat -c %s "$cfg") bytes), not as expected"
  [[ $(ls "$dir") == $'Scrivane.cfg\nScrivane.exe' ]] || fail "left in the folder: $(ls "$dir")"
done
echo PASS
