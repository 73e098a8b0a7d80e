#!/usr/bin/env bash
# Breaks the program on purpose, one line at a time, and tells which test notices. A tool for
# judging the tests (before cutting or adding some), not part of the test command.
#
# For each mutant below: replace the original fragment (it must occur exactly once in the file),
# rebuild x86_64 and native incrementally, run the native tests, then the Windows tests under Wine,
# each stopping at the first failure; put the file back with a fresh time stamp so that ninja
# rebuilds the clean object. Prints one row per mutant: the first failing test, or SURVIVED.
#
# Usage: scripts/mutants.sh [name-filter]    (an extended regular expression, e.g. 'hook|tray')
# Logs: build/mutants/NAME.log. Exits 1 when a mutant survived or did not build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
filter=${1:-}

# name  file
#   - original fragment (exactly once in the file)
#   + replacement
mutants_table=$(cat <<'EOF'
settings-size-rule       shell/base/settings.cpp
  - return fileSize == kSettingsFileSize ? kSettingsFileSize : kShortSettingsSize;
  + return fileSize >= kSettingsFileSize ? kSettingsFileSize : kShortSettingsSize;
settings-min-size        shell/base/settings.cpp
  - if (fileSize < kMinSettingsFileSize)
  + if (fileSize <= kMinSettingsFileSize)
settings-path-end        shell/base/settings.cpp
  - record.savePath[kPathCapacity - 1] = '\0';
  + record.savePath[kPathCapacity - 2] = '\0';
default-flags            shell/base/settings.cpp
  - flags = kDefaultFlags;
  + flags = kDefaultFlags & ~OPT_DELAYED_LAUNCH;
default-hotkey           shell/base/settings.cpp
  - launchHotKey = 0x2C;
  + launchHotKey = 0x2D;
rect-contains-edge       canvas/rect.cpp
  - return dx < w && dy < h;
  + return dx <= w && dy < h;
rect-from-size-up        canvas/rect.cpp
  - r.top = origin.y + std::min<decltype(size.y)>(size.y, 0);
  + r.top = origin.y;
dib-pixels-unchecked     session/dib_layout.cpp
  - if (offset > blockSize || size > blockSize - offset)
  + if (offset > blockSize)
dib-masks-not-skipped    session/dib_layout.cpp
  - offset += 12;
  + offset += 0;
delay-ignored            shell/session_launch.cpp
  - SetTimer(settingsWindow, LAUNCH_TIMER_ID, LaunchDelayMilliseconds(Settings.launchDelay), nullptr))
  + SetTimer(settingsWindow, LAUNCH_TIMER_ID, 0, nullptr))
delay-always             shell/session_launch.cpp
  - if (delayAllowed && (Settings.flags & OPT_DELAYED_LAUNCH) &&
  + if ((Settings.flags & OPT_DELAYED_LAUNCH) &&
delay-uncapped           shell/launch_rules.cpp
  - return (launchDelay < kMaxLaunchDelaySeconds ? launchDelay : kMaxLaunchDelaySeconds) * 1000;
  + return launchDelay * 1000;
hotkey-modifiers         shell/base/hot_key.cpp
  - modifiers |= kModShift;
  + modifiers |= kModControl;
menu-alignment           shell/launch_rules.cpp
  - if (pointer.x >= monitor.right / 2)
  + if (pointer.x > monitor.right / 2)
hotkey-not-taken-back    shell/session_launch.cpp
  - if ((Settings.flags & OPT_HOTKEY) && !(GetWindowLongA(settingsWindow, GWL_STYLE) & WS_VISIBLE))
  + if ((Settings.flags & OPT_HOTKEY) && (GetWindowLongA(settingsWindow, GWL_STYLE) & WS_VISIBLE))
launch-during-session    shell/session_launch.cpp
  - if (paintWindow != nullptr)
  + if (paintWindow == HWND(1))
failed-creation-stuck    shell/session_launch.cpp
  - OnSessionEnded(settingsWindow);
  + (void)0;
hook-answer-inverted     shell/settings_window.cpp
  - (Platform.getAsyncKeyState(VK_MBUTTON) & 0x8000)) {
  + !(Platform.getAsyncKeyState(VK_MBUTTON) & 0x8000)) {
hook-answer-zero         shell/settings_window.cpp
  - return 1;
  + return 0;
non-tray-no-session      shell/settings_window.cpp
  - PostMessageA(window, TWM_LAUNCH, 0, 1);
  + (void)0;
exit-without-save        shell/settings_window.cpp
  - SaveSettings();
  + (void)0;
surface-bitmap-kept      canvas/surfaces.cpp
  - DeleteObject(sessionBitmaps[i]);
  + (void)0;
surfaces-not-forgotten   canvas/surfaces.cpp
  - *surfaces[i] = nullptr;
  + (void)0;
tray-tip                 shell/tray_icon.cpp
  - lstrcpynA(notifyIcon.szTip, kProgramName,
  + lstrcpynA(notifyIcon.szTip, "Scrivane ",
tray-callback            shell/tray_icon.cpp
  - notifyIcon.uCallbackMessage = TWM_TRAY_NOTIFY;
  + notifyIcon.uCallbackMessage = TWM_TRAY_NOTIFY + 10;
tray-click-no-delay      shell/tray_icon.cpp
  - PostMessageA(window, TWM_LAUNCH, 0, 1);
  + PostMessageA(window, TWM_LAUNCH, 0, 0);
tray-icon-not-kept       shell/tray_icon.cpp
  - trayIconAdded = NotifyShell(NIM_MODIFY);
  + trayIconAdded = false;
save-not-replacing       shell/base/safe_file.cpp
  - MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH
  + MOVEFILE_WRITE_THROUGH
exe-path-quote           shell/exe_path.cpp
  - if (*p == '"')
  + if (*p == '"' || *p == ' ')
sibling-too-long         shell/exe_path.cpp
  - if (keep + tailLength >= kPathCapacity)
  + if (keep + tailLength > kPathCapacity)
capture-not-committed    session/capture.cpp
  - BitBlt(committedSurface, 0, 0, size.cx, size.cy, captureSurface, 0, 0, SRCCOPY);
  + (void)0;
clipboard-one-try        session/capture.cpp
  - constexpr int kClipboardTries = 2;
  + constexpr int kClipboardTries = 1;
handover-dropped         shell/main.cpp
  - PostMessageA(running, TWM_LAUNCH, 0, 1);
  + (void)running;
handover-no-delay        shell/main.cpp
  - PostMessageA(running, TWM_LAUNCH, 0, 1);
  + PostMessageA(running, TWM_LAUNCH, 0, 0);
hook-module-half         shell/hook_module.cpp
  - if (captureFn == nullptr || releaseFn == nullptr) {
  + if (captureFn == nullptr) {
hook-dll-swallows-left   hook/hook.cpp
  - if (message != WM_RBUTTONDOWN)
  + if (message == 0)
hook-dll-waits-long      hook/hook.cpp
  - constexpr UINT kReportTimeoutMs = 200;
  + constexpr UINT kReportTimeoutMs = 3000;
gesture-revert           session/gesture.cpp
  - a.mark = MarkStep::Revert;
  + a.mark = MarkStep::Commit;
gesture-axis-distance    session/gesture.h
  - constexpr int kHorizontalLockDistance = 4;
  + constexpr int kHorizontalLockDistance = 5;
wheel-reversal-counted   session/gesture.cpp
  - if ((delta > 0 && s.wheelDelta < 0) || (delta < 0 && s.wheelDelta > 0))
  + if (false)
missed-release-ignored   session/gesture.cpp
  - if (keyFlags & kMkLeft)
  + if (keyFlags & kMkLeft || true)
escape-ends-session      session/keyboard.cpp
  - if (key == VK_ESCAPE)
  + if (key == VK_RETURN)
session-end-not-posted   session/paint_window.cpp
  - PostMessageA(GetParent(window), TWM_SESSION_ENDED, 0, 0);
  + (void)0;
paint-window-origin      session/paint_window.cpp
  - WS_POPUP, MonitorMetric(SM_XVIRTUALSCREEN),
  + WS_POPUP, 0,
paint-window-not-topmost session/paint_window.cpp
  - CreateWindowExA(WS_EX_TOPMOST, kPaintClassName
  + CreateWindowExA(0, kPaintClassName
pen-size-forgotten       session/paint_window.cpp
  - Settings.penSize = kDefaultPenSize;
  + Settings.penSize = kDefaultPenSize + 1;
palette-always-remembered session/paint_window.cpp
  - rememberPalette ? Settings.palette[i] : defaultPalette[i]
  + Settings.palette[i]
compose-whole-area       canvas/compose.cpp
  - const RECT area = (r != nullptr && zoomLevel == 0) ? *r : client;
  + const RECT area = client;
monitor-fallback-origin  shell/base/monitor.cpp
  - index >= SM_XVIRTUALSCREEN ? 0 :
  + index >= SM_XVIRTUALSCREEN ? 1 :
resource-string          resources/lang_en.rc
  - "Failed to register HotKey."
  + "Failed to register hot key."
close-cancel-ignored     shell/settings_window.cpp
  - MB_OKCANCEL | MB_ICONWARNING) == IDCANCEL)
  + MB_OKCANCEL | MB_ICONWARNING) == IDOK)
non-tray-close-inverted  shell/settings_window.cpp
  - MB_OKCANCEL | MB_ICONINFORMATION) == IDOK)
  + MB_OKCANCEL | MB_ICONINFORMATION) == IDCANCEL)
hot-key-waits            shell/settings_window.cpp
  - case WM_HOTKEY: PostMessageA(window, TWM_LAUNCH, 0, 0);
  + case WM_HOTKEY: PostMessageA(window, TWM_LAUNCH, 0, 1);
tray-menu-dropped        shell/tray_icon.cpp
  - case WM_RBUTTONUP:
  + case WM_RBUTTONDBLCLK:
monitor-not-nearest      shell/base/monitor.cpp
  - MONITOR_DEFAULTTONEAREST
  + MONITOR_DEFAULTTONULL
hook-dll-kept-on-release hook/hook.cpp
  - StopHookThread();
  + (void)0;
hook-dll-no-x-button     hook/hook.cpp
  - MAKEWPARAM(message, HIWORD(event.mouseData))
  + MAKEWPARAM(message, 0)
paint-from-drawing       canvas/compose.cpp
  - viewSurface, r.left, r.top, SRCCOPY
  + drawingSurface, r.left, r.top, SRCCOPY
surfaces-half-built      canvas/surfaces.cpp
  - if (!complete)
  + if (false)
clipboard-size-trusted   session/capture.cpp
  - ReadDibLayout(block, GlobalSize(data), layout)
  + ReadDibLayout(block, GlobalSize(data) + 1, layout)
clipboard-size-short     session/capture.cpp
  - size = SIZE{layout.width, layout.height};
  + size = SIZE{layout.width, layout.height - 1};
outline-brush-missing    session/paint_window.cpp
  - SelectObject(drawingSurface, GetStockObject(NULL_BRUSH));
  + (void)0;
pen-kept-after-session   session/paint_window.cpp
  - penRenderer().releasePen();
  + (void)0;
highlighter-forgotten    session/paint_window.cpp
  - Settings.flags |= OPT_HIGHLIGHTER;
  + (void)0;
clear-keeps-marks        session/paint_window.cpp
  - BitBlt(committedSurface, 0, 0, client.right, client.bottom, captureSurface, 0, 0, SRCCOPY);
  + (void)0;
pen-margin-half          render/pen_renderer.cpp
  - footprint = RECT{p.x - width, p.y - width, p.x + width, p.y + width};
  + footprint = RECT{p.x - width / 2, p.y - width / 2, p.x + width / 2, p.y + width / 2};
pen-made-every-time      render/pen_renderer.cpp
  - if (newWidth == width && newColor == color)
  + if (false)
eraser-band-not-reverted render/eraser.cpp
  - revert();  // brings back the marks the previous rubber band uncovered
  + (void)0;
panel-edit-anywhere      canvas/panel_steps.cpp
  - if (button != 2 || CellAt(q) < 0)
  + if (button != 2)
panel-save-anywhere      canvas/panel_steps.cpp
  - if (button == 1 && RectContains(SaveButtonRect(), q))
  + if (button == 1)
bmp-pixels-short         render/bmp_export.cpp
  - {pixels, layout.imageSize}
  + {pixels, layout.imageSize / 2}
key-release-unpressed    session/keyboard.cpp
  - if (!pressedHere.test(key & 0xFF))
  + if (false)
pen-key-mid-stroke       session/keyboard.cpp
  - PenKeySwitchesToolKind(index, palettePanel().colorActive))
  + false)
file-in-folder-bytes     shell/base/dbcs_path.cpp
  - for (const char* p = path; *p != '\0'; p += CharLength(p, isLead)) {
  + for (const char* p = path; *p != '\0'; ++p) {
system-lead-bytes        shell/base/dbcs_path.cpp
  - return IsDBCSLeadByte(c) != FALSE;
  + return c >= 0x80;
stroke-mode-x-buttons    session/gesture.cpp
  - if (keyFlags & (kMkControl | kMkXButton1))
  + if (keyFlags & kMkControl)
panel-cell-pitch         canvas/panel_layout.cpp
  - return RectFromSize({38 + 24 * k, 25}, kControlSize);
  + return RectFromSize({38 + 25 * k, 25}, kControlSize);
size-drag-step           canvas/panel_layout.cpp
  - (pressY - pointerY) / 4;
  + (pressY - pointerY) / 3;
pen-key-row-length       session/pen_keys.cpp
  - if (index > kEraserKeyIndex)
  + if (index > kEraserKeyIndex + 1)
panel-ring-narrow        canvas/palette_panel.cpp
  - const RECT ring = Grown(cells[k].rect, 3);
  + const RECT ring = Grown(cells[k].rect, 2);
panel-preview-narrow     canvas/palette_panel.cpp
  - cx - h + penSize + 1, cy - h + penSize + 1);
  + cx - h + penSize, cy - h + penSize + 1);
magnify-size-truncated   render/magnifier.cpp
  - const uint32_t sw = (w + n / 2) / n;
  + const uint32_t sw = w / n;
dialog-margin            render/dialog_placement.cpp
  - constexpr int32_t kMargin = 10;
  + constexpr int32_t kMargin = 8;
bmp-stride-unpadded      render/bmp_layout.cpp
  - const uint64_t stride = (uint64_t(width) * 3 + 3) & ~uint64_t(3);
  + const uint64_t stride = uint64_t(width) * 3;
bmp-planes               render/bmp_layout.cpp
  - Put16(headers + 26, 1);
  + Put16(headers + 26, 0);
magnified-start-unclamped session/paint_window.cpp
  - lastPointer.x = p.x < 0 ? 0 : (p.x >= client.right ? client.right - 1 : p.x);
  + lastPointer.x = p.x;
option-place             shell/option_controls.cpp
  - {kDelayEdit, "EDIT", nullptr, kDelayEditStyle, 150, 61, 30, 18, WS_EX_CLIENTEDGE},
  + {kDelayEdit, "EDIT", nullptr, kDelayEditStyle, 150, 62, 30, 18, WS_EX_CLIENTEDGE},
launch-key-always-on     shell/option_controls.cpp
  - Enable(window, kLaunchKeyEdit, on(OPT_HOTKEY));
  + Enable(window, kLaunchKeyEdit, true);
alt-print-screen-lost    shell/option_controls.cpp
  - if ((message == WM_KEYUP || message == WM_SYSKEYUP) && wParam == VK_SNAPSHOT) {
  + if (message == WM_KEYUP && wParam == VK_SNAPSHOT) {
delay-wraps              shell/launch_rules.cpp
  - value = value > kMaxLaunchDelaySeconds ? value : value * 10 + uint32_t(*text - '0');
  + value = value * 10 + uint32_t(*text - '0');
no-in-place-save         shell/base/safe_file.cpp
  - return OverwriteInPlace(path, chunks, count);
  + return false;
save-failure-silent      render/bmp_export.cpp
  - ReportFailedSave(window, path, error);
  + (void)error;
in-place-not-made        shell/base/safe_file.cpp
  - GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  + GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
panel-lost-press-kept    canvas/panel_steps.cpp
  - if (s.pressButton == 0 || (heldButtons & s.pressButton))
  + if (true)
panel-lost-press-unasked session/pointer_input.cpp
  - palettePanel().onButtonsHeld(HeldButtons(static_cast<uint32_t>(keyFlags)) | except);
  + (void)0;
pen-key-system-ignored   session/paint_window.cpp
  - case WM_SYSKEYUP: if (OnSysKeyUp(static_cast<UINT>(wParam))) return 0; break;
  + case WM_SYSKEYUP: break;
delay-bound-unselected   shell/option_controls.cpp
  - SendMessageA(edit, EM_SETSEL, 0, -1);
  + (void)0;
pen-recorded-unmade      render/pen_renderer.cpp
  - if (pen == nullptr)
  + if (pen == nullptr && (color = newColor, width = newWidth, true))
config-off-screen        shell/base/monitor.cpp
  - if (MonitorInfo(m.monitor, &info) && !IsRectEmpty(&info.rcWork)) {
  + if (MonitorInfo(m.monitor, &info)) {
eraser-cursor-swapped    resources/scrivane.rc
  - IDC_ERASER      CURSOR  "eraser.cur"
  + IDC_ERASER      CURSOR  "pen.cur"
large-icon-small         resources/scrivane.rc
  - IDI_APP_LARGE   ICON    "app.ico"
  + IDI_APP_LARGE   ICON    "app_small.ico"
menu-exit-label          resources/lang_en.rc
  - MENUITEM "E&xit",       IDM_EXIT
  + MENUITEM "Exit",        IDM_EXIT
menu-japanese-exit       resources/lang_ja.rc
  - MENUITEM "終了(&X)",    IDM_EXIT
  + MENUITEM "終了",        IDM_EXIT
japanese-string          resources/lang_ja.rc
  - IDS_TASKTRAY            "タスクトレイに格納"
  + IDS_TASKTRAY            "タスクトレイ"
EOF
)

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
