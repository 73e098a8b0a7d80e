// Where everything on the palette panel is and which part a point hits: plain rectangles, so that
// every edge can be walked natively, without a window. Coordinates are panel-relative, in the
// panel's own pixels: the panel is laid out for the DPI of the monitor it is shown on, at dpi / 96
// times its size at 96 DPI, so that it keeps the size of the user's other windows on a scaled display.
#pragma once
#include <cstdint>

#include "shell/base/default_palette.h"
#include "shell/base/geometry.h"

enum class PanelPart {
    None = 0,
    TitleBar = 1,
    SizeBox = 2,
    ColorCell = 3,
    EraserButton = 4,
    SaveButton = 5,
    CloseButton = 6
};

constexpr int kPanelBaseDpi = 96;  // 100 % scaling: the sizes below
constexpr int kPanelWidth = 320;
constexpr int kPanelHeight = 60;
constexpr int kControlSide = 20;  // the cells, the size box, the buttons and their icons
constexpr int kCellCount = kPaletteSize;
constexpr int kMaxPenSize = 20;

constexpr POINT kInitialGrabPoint = {160, 7};

// The DPI the panel is laid out for: below 96 as at 96, above 480 (500 %) as at 480.
int PanelDpi(int monitorDpi);
// A length at 96 DPI at `dpi`, rounded to the nearest pixel.
int PanelScaled(int length, int dpi);
// A panel-relative point laid out again for another DPI: the same spot of the panel.
POINT PanelPointRescaled(POINT q, int fromDpi, int toDpi);

POINT PanelSize(int dpi = kPanelBaseDpi);
// Inside the outline, below the title bar and its separator row.
RECT BodyRect(int dpi = kPanelBaseDpi);
RECT TitleRect(int dpi = kPanelBaseDpi);

// The squares of the controls.
RECT SizeBoxRect(int dpi = kPanelBaseDpi);
RECT EraserButtonRect(int dpi = kPanelBaseDpi);
RECT SaveButtonRect(int dpi = kPanelBaseDpi);
RECT CloseButtonRect(int dpi = kPanelBaseDpi);
RECT CellRect(int k, int dpi = kPanelBaseDpi);  // k 0..7: a pitch of 24 from x 38 at 96 DPI

// The part under panel-relative point q, first match in this order: title bar, size box (only while
// a colour is the tool), the lowest cell, eraser, save, close. `cell` receives the cell's index.
// The outline, the separator row and the bare body are no part.
PanelPart HitPanelPart(POINT q, bool colorActive, int* cell, int dpi = kPanelBaseDpi);

// The lowest cell under q, or -1.
int CellAt(POINT q, int dpi = kPanelBaseDpi);

// A width dragged on the size box: one pixel per four pixels upward from where the press was
// (truncated toward zero), never below 1; the caller clamps above. Pixels of the screen, whatever
// the panel's scale: the same hand movement gives the same width on every monitor.
int DraggedPenSize(int sizeAtPress, int pressY, int pointerY);

// 0 becomes 1 and anything above 20 (a negative value too, compared unsigned) becomes 20.
int ClampPenSize(uint32_t n);
