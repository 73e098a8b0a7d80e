#include "canvas/panel_layout.h"

#include "canvas/rect.h"

namespace {

constexpr int kMaxPanelDpi = 480;

// A control's top-left corner at 96 DPI, moved and sized for `dpi`. The side is scaled on its own so
// that all controls keep one size.
RECT ControlRect(int x, int y, int dpi)
{
    const int side = PanelScaled(kControlSide, dpi);
    return RectFromSize({PanelScaled(x, dpi), PanelScaled(y, dpi)}, {side, side});
}

}  // namespace

int PanelDpi(int monitorDpi)
{
    return monitorDpi < kPanelBaseDpi ? kPanelBaseDpi : (monitorDpi > kMaxPanelDpi ? kMaxPanelDpi : monitorDpi);
}

int PanelScaled(int length, int dpi)
{
    return (length * dpi + kPanelBaseDpi / 2) / kPanelBaseDpi;
}

POINT PanelPointRescaled(POINT q, int fromDpi, int toDpi)
{
    return POINT{(q.x * toDpi + fromDpi / 2) / fromDpi, (q.y * toDpi + fromDpi / 2) / fromDpi};
}

POINT PanelSize(int dpi)
{
    return POINT{PanelScaled(kPanelWidth, dpi), PanelScaled(kPanelHeight, dpi)};
}

// The outline and the separator row are one line of the scaled width each, whatever the rounding,
// so that the frame looks the same on all four sides.
RECT TitleRect(int dpi)
{
    const int line = PanelScaled(1, dpi);
    return RECT{line, line, PanelSize(dpi).x - line, line + PanelScaled(11, dpi)};
}

RECT BodyRect(int dpi)
{
    const int line = PanelScaled(1, dpi);
    const POINT size = PanelSize(dpi);
    return RECT{line, TitleRect(dpi).bottom + line, size.x - line, size.y - line};
}

RECT SizeBoxRect(int dpi)
{
    return ControlRect(10, 25, dpi);
}

RECT EraserButtonRect(int dpi)
{
    return ControlRect(230, 25, dpi);
}

RECT SaveButtonRect(int dpi)
{
    return ControlRect(265, 25, dpi);
}

RECT CloseButtonRect(int dpi)
{
    return ControlRect(290, 25, dpi);
}

// One pitch for all cells, so that the gaps stay equal at every scale.
RECT CellRect(int k, int dpi)
{
    const RECT first = ControlRect(38, 25, dpi);
    return RectFromSize({first.left + PanelScaled(24, dpi) * k, first.top},
                        {first.right - first.left, first.bottom - first.top});
}

int CellAt(POINT q, int dpi)
{
    for (int k = 0; k < kCellCount; ++k) {
        if (RectContains(CellRect(k, dpi), q))
            return k;
    }
    return -1;
}

PanelPart HitPanelPart(POINT q, bool colorActive, int* cell, int dpi)
{
    if (RectContains(TitleRect(dpi), q))
        return PanelPart::TitleBar;
    if (colorActive && RectContains(SizeBoxRect(dpi), q))
        return PanelPart::SizeBox;
    const int k = CellAt(q, dpi);
    if (k >= 0) {
        if (cell)
            *cell = k;
        return PanelPart::ColorCell;
    }
    if (RectContains(EraserButtonRect(dpi), q))
        return PanelPart::EraserButton;
    if (RectContains(SaveButtonRect(dpi), q))
        return PanelPart::SaveButton;
    if (RectContains(CloseButtonRect(dpi), q))
        return PanelPart::CloseButton;
    return PanelPart::None;
}

int DraggedPenSize(int sizeAtPress, int pressY, int pointerY)
{
    const int n = sizeAtPress + (pressY - pointerY) / 4;
    return n <= 0 ? 1 : n;
}

int ClampPenSize(uint32_t n)
{
    return n == 0 ? 1 : (n > kMaxPenSize ? kMaxPenSize : static_cast<int>(n));
}
