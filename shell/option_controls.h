// The options in the settings window's client area: plain child controls, not a dialog resource,
// bound to the settings record. Every change goes into Settings at once; the file is written at exit.
// The layout is given for 96 DPI and scaled to the DPI of the monitor the window opens on.
#pragma once
#include <windows.h>

enum OptionControl : int {
    kTaskTrayBox = 1001,
    kMouseHookBox,
    kHotKeyBox,
    kLaunchKeyEdit,  // hot-key control, subclassed by HotKeyEditProc
    kDelayBox,
    kDelayEdit,
    kDelayUpDown,
    kPenKeyBox,
    kPenKeyEdit,  // hot-key control
    kRememberPaletteBox,
    kResetButton,
    kRememberLastPenBox,
    kRememberPenSizeBox,
    kIncludeCursorBox,
    kViaClipboardBox,
    kHelpButton,
};
static_assert(kHelpButton == 1016, "the control ids are fixed");

// The settings window's client area at 96 DPI.
constexpr int kOptionsClientWidth = 300;
constexpr int kOptionsClientHeight = 190;

// Creates the sixteen controls at 96 DPI and gives them their states from Settings.
void BuildOptionControls(HWND window, HINSTANCE instance);

// Lays the window and its controls out for `dpi`: the client area, every control rectangle and the
// font. Nothing happens when they are laid out for it already.
void ScaleOptionControls(HWND window, UINT dpi);
// The window's outer size and client size when laid out for `dpi`, as (width, height).
void OptionsWindowSize(HWND window, UINT dpi, POINT& outer, POINT& client);
// The DPI the controls are laid out for now.
UINT OptionControlsDpi();
// Deletes a scaled font once the controls that used it are gone.
void ReleaseOptionControls();

// WM_COMMAND from a control: `id` the control, `code` its notification.
void OnOptionCommand(HWND window, int id, int code);

// The launch hot-key control's subclass: takes Print Screen with any modifiers and stores every
// other value at key release.
LRESULT CALLBACK HotKeyEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
