// The palette panel's state and its pointer input as plain steps. Each step takes the state and one
// event, changes the state, and answers what the panel must then do, in order: draw itself again,
// notify the paint window, ask for recomposition, forget the press. PalettePanel carries that out;
// here every rule can be walked and fuzzed natively, without a window.
#pragma once
#include <cstdint>

#include "canvas/panel_layout.h"
#include "shell/base/settings.h"

struct PanelState {
    bool visible = false;
    int pressButton = 0;  // the press being tracked: 0 none, 1 left, 2 right, 4 middle
    PanelPart pressPart = PanelPart::None;
    RECT bounds = {0, 0, kPanelWidth, kPanelHeight};  // in the paint window's client coordinates
    POINT grabPoint = kInitialGrabPoint;              // panel-relative
    bool colorActive = true;
    int penSize = kDefaultPenSize;
    int colorIndex = 0;
    int sizeAtPress = 0;
    bool highlighter = false;
    int dpi = kPanelBaseDpi;  // what it is laid out for: its monitor's, as of the last showAt
};

enum class PanelEffect : uint8_t {
    None,
    Render,         // draw the panel into its bitmap
    RefreshBounds,  // ask for recomposition of `bounds`
    RefreshWhole,   // ask for recomposition of the whole client area
    SetTool,        // PWM_SETTOOL with the width and colour, or 0, 0 for the eraser
    Highlight,      // PWM_SETHIGHLIGHT with `highlighter`
    EditColor,      // PWM_EDITCOLOR with `cell`
    Save,           // PWM_SAVEBITMAP
    Clear,          // PWM_CLEAR
    Close,          // WM_CLOSE
    EndPress,       // forget the press, once the notifications before it have returned
};

// What a step asks for, in the order given. A notification may run the paint window (a dialog, the
// end of the session), so the state each one reports is in place before it is sent.
struct PanelAction {
    PanelEffect effects[4] = {};
    int cell = 0;  // for EditColor
};

// Selects cell i (below 8) or the eraser (anything else, the cell index kept); answers colorActive.
bool SelectPanelTool(PanelState& s, uint32_t i);

// Shows the panel laid out for `monitorDpi` (see PanelDpi) with its grab point under p; the grab
// point is moved to the same spot of the panel at the new scale. No clamping: it may lie partly off
// the screen.
void PanelShowAt(PanelState& s, POINT p, int monitorDpi);

PanelAction PanelButtonDown(PanelState& s, POINT p, int button);
PanelAction PanelButtonUp(PanelState& s, POINT p, int button);
PanelAction PanelDoubleClick(PanelState& s, POINT p, int button);
// Only while the panel is visible.
PanelAction PanelMouseMove(PanelState& s, POINT p);
// Before any other handling of a mouse message: a tracked press whose button `heldButtons` (1 left,
// 2 right, 4 middle) no longer shows was released where the panel could not see it. It ends as its
// release would, but chooses nothing.
PanelAction PanelReleaseLost(PanelState& s, int heldButtons);
