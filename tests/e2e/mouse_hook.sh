#!/usr/bin/env bash
# "Enable Mouse Hook": with the module beside the program, a right press with the middle button held
# starts a session at once; with one that could never be released, or no module at all, nothing
# happens and the program runs on as without it.
source "$E2E_LIB"
: "${SCRIVANE_HOOK_DLL:?}"

show_picture
write_settings 0x47F 3  # a long delay, which an immediate start cannot have waited
cp "$cfg" "$work.stored"
cp "$SCRIVANE_HOOK_DLL" "$work/real.dll"
# The module with its Release export renamed: its hook still works, but nothing could ever remove it.
LC_ALL=C sed 's/Release\x00/Relaxed\x00/' "$SCRIVANE_HOOK_DLL" >"$work/broken.dll"
cmp -s "$SCRIVANE_HOOK_DLL" "$work/broken.dll" && fail "could not rename the module's Release"
printf 'MZ, but nothing a loader could map' >"$work/no-module.dll"

for module in real.dll broken.dll no-module.dll; do
  step "$module for the module: a session at once only with the real one; the hot key works; Exit keeps the settings"
  cp "$work/$module" "$work/Scrivane.dll"
  start_program
  # Over the picture: low-level hooks see input over Wine windows only.
  xdotool mousemove 640 450 mousedown 2 sleep 0.2 mousedown 3
  ms=$(ctl wait SCRIVANE_MAIN visible 1500 2>/dev/null || echo none)
  xdotool mouseup 3 mouseup 2
  if [[ $module == real.dll ]]; then
    assert_between "${ms/none/-1}" 0 1000 "right press to session (-1: none within 1.5 s)"
    close_session
  elif [[ $ms != none ]]; then fail "a session started"; fi
  hot_key_session >/dev/null
  close_session
  exit_program
  cmp -s "$cfg" "$work.stored" || fail "the settings came back as $(hex_at "$cfg" 0 24)..."
done
echo PASS
