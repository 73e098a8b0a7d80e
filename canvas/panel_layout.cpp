#include "canvas/panel_layout.h"

#include "canvas/rect.h"

namespace {

constexpr POINT kControlSize = {20, 20};

}  // namespace

RECT SizeBoxRect()
{
    return RectFromSize({10, 25}, kControlSize);
}

RECT EraserButtonRect()
{
    return RectFromSize({230, 25}, kControlSize);
}

RECT SaveButtonRect()
{
    return RectFromSize({265, 25}, kControlSize);
}

RECT CloseButtonRect()
{
    return RectFromSize({290, 25}, kControlSize);
}

RECT CellRect(int k)
{
    return RectFromSize({38 + 24 * k, 25}, kControlSize);
}

int CellAt(POINT q)
{
    for (int k = 0; k < kCellCount; ++k) {
        if (RectContains(CellRect(k), q))
            return k;
    }
    return -1;
}

PanelPart HitPanelPart(POINT q, bool colorActive, int* cell)
{
    if (RectContains(kTitleRect, q))
        return PanelPart::TitleBar;
    if (colorActive && RectContains(SizeBoxRect(), q))
        return PanelPart::SizeBox;
    const int k = CellAt(q);
    if (k >= 0) {
        if (cell)
            *cell = k;
        return PanelPart::ColorCell;
    }
    if (RectContains(EraserButtonRect(), q))
        return PanelPart::EraserButton;
    if (RectContains(SaveButtonRect(), q))
        return PanelPart::SaveButton;
    if (RectContains(CloseButtonRect(), q))
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
