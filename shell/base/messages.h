// Private window messages: TWM_ for the settings window, PWM_ for the paint window.
#pragma once
#include <windows.h>

constexpr UINT TWM_LAUNCH = WM_USER + 2;         // lParam non-zero: the launch delay is allowed
constexpr UINT TWM_SESSION_ENDED = WM_USER + 3;  // the paint window is gone
constexpr UINT TWM_TRAY_NOTIFY = WM_USER + 4;    // tray icon callback, lParam the mouse message
constexpr UINT TWM_HOOK_EVENT = WM_USER + 1000;  // from the mouse-hook module, low word of wParam a mouse message

// Delivered by calling the paint window procedure directly, never through the queue.
constexpr UINT PWM_CAPTURE = WM_USER + 1;
constexpr UINT PWM_REFRESH = WM_USER + 11;  // lParam: const RECT* in client coordinates, or 0 for all
constexpr UINT PWM_SETTOOL = WM_USER + 12;  // wParam pen width (0: eraser), lParam colour
constexpr UINT PWM_SAVEBITMAP = WM_USER + 13;
constexpr UINT PWM_EDITCOLOR = WM_USER + 14;     // wParam cell index
constexpr UINT PWM_SETHIGHLIGHT = WM_USER + 15;  // wParam non-zero: highlighter on
constexpr UINT PWM_CLEAR = WM_USER + 16;

static_assert(TWM_LAUNCH == 1026 && TWM_SESSION_ENDED == 1027 && TWM_TRAY_NOTIFY == 1028 && TWM_HOOK_EVENT == 2024,
              "the message numbers are shared with other copies of the program and the hook module");

constexpr char kSettingsClassName[] = "SCRIVANE_TRAY";
constexpr char kPaintClassName[] = "SCRIVANE_MAIN";
constexpr char kProgramName[] = "Scrivane";
