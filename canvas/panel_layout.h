// Where everything on the palette panel is and which part a point hits: plain rectangles, so that
// every edge can be walked natively, without a window. Coordinates are panel-relative.
#pragma once
#include <cstdint>

#include "shell/base/default_palette.h"
#include "shell/base/geometry.h"

enum class PanelPart { None = 0, TitleBar = 1, SizeBox = 2, ColorCell = 3, EraserButton = 4, SaveButton = 5, CloseButton = 6 };

constexpr int kPanelWidth = 320;
constexpr int kPanelHeight = 60;
constexpr int kCellCount = kPaletteSize;
constexpr int kMaxPenSize = 20;

constexpr RECT kBodyRect = {1, 13, kPanelWidth - 1, kPanelHeight - 1};
constexpr RECT kTitleRect = {1, 1, kPanelWidth - 1, 12};
constexpr POINT kInitialGrabPoint = {160, 7};

// The twenty-pixel squares of the controls.
RECT SizeBoxRect();
RECT EraserButtonRect();
RECT SaveButtonRect();
RECT CloseButtonRect();
RECT CellRect(int k);  // k 0..7: a pitch of 24 from x 38

// The part under panel-relative point q, first match in this order: title bar, size box (only while
// a colour is the tool), the lowest cell, eraser, save, close. `cell` receives the cell's index.
// The outline, the separator row and the bare body are no part.
PanelPart HitPanelPart(POINT q, bool colorActive, int* cell);

// The lowest cell under q, or -1.
int CellAt(POINT q);

// A width dragged on the size box: one pixel per four pixels upward from where the press was
// (truncated toward zero), never below 1; the caller clamps above.
int DraggedPenSize(int sizeAtPress, int pressY, int pointerY);

// 0 becomes 1 and anything above 20 (a negative value too, compared unsigned) becomes 20.
int ClampPenSize(uint32_t n);
