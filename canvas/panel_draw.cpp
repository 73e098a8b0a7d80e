// The palette panel's picture: frame, title bar, the size box's preview, the cells with their
// rings and the three button icons, at the scale the panel is laid out for. Only the preview stays
// in screen pixels: it shows the pen as it will mark the picture.
#include "canvas/palette_panel.h"

#include "canvas/rect.h"

namespace {

RECT Grown(const RECT& r, int n)
{
    return RECT{r.left - n, r.top - n, r.right + n, r.bottom + n};
}

// The mask first (SRCPAINT turns opaque pixels white), then the picture (SRCAND), each stretched
// from its 20-pixel square to the button's size.
void BlitMasked(HDC dc, const RECT& to, HDC icons, POINT mask, POINT picture)
{
    const int w = to.right - to.left;
    const int h = to.bottom - to.top;
    StretchBlt(dc, to.left, to.top, w, h, icons, mask.x, mask.y, kControlSide, kControlSide, SRCPAINT);
    StretchBlt(dc, to.left, to.top, w, h, icons, picture.x, picture.y, kControlSide, kControlSide, SRCAND);
}

}  // namespace

void PalettePanel::draw(HDC dc) const
{
    const RECT whole = RectFromSize({0, 0}, {bounds.right - bounds.left, bounds.bottom - bounds.top});
    FillRect(dc, &whole, frameBrush);
    FillRect(dc, &bodyRect, bodyBrush);
    FillRect(dc, &titleRect, titleBrush);
    const int line = PanelScaled(1, dpi), ringWidth = PanelScaled(3, dpi);
    const RECT sizeFrame = Grown(sizeBox, line);
    FillRect(dc, &sizeFrame, frameBrush);
    FillRect(dc, &sizeBox, bodyBrush);

    HGDIOBJ oldBrush = SelectObject(dc, cells[colorIndex].brush);
    if (colorActive) {
        const int cx = sizeBox.left + (sizeBox.right - sizeBox.left) / 2;
        const int cy = sizeBox.top + (sizeBox.bottom - sizeBox.top) / 2;
        if (highlighter) {
            Rectangle(dc, cx - 1, cy - 9, cx + 2, cy + 9);
        } else {
            const int h = penSize / 2;
            Ellipse(dc, cx - h - 1, cy - h - 1, cx - h + penSize + 1, cy - h + penSize + 1);
        }
    }
    SelectObject(dc, oldBrush);

    for (int k = 0; k < kCellCount; ++k) {
        if (colorActive && k == colorIndex) {
            const RECT ring = Grown(cells[k].rect, ringWidth);
            FillRect(dc, &ring, highlightBrush);
        }
        const RECT frame = Grown(cells[k].rect, line);
        FillRect(dc, &frame, frameBrush);
        FillRect(dc, &cells[k].rect, cells[k].brush);
    }

    if (!colorActive) {
        const RECT ring = Grown(eraserButton, ringWidth);
        FillRect(dc, &ring, highlightBrush);
    }
    const RECT eraserFrame = Grown(eraserButton, line);
    FillRect(dc, &eraserFrame, frameBrush);
    FillRect(dc, &eraserButton, bodyBrush);

    const RECT* buttons[3] = {&eraserButton, &saveButton, &closeButton};
    for (int i = 0; i < 3; ++i)
        BlitMasked(dc, *buttons[i], iconDC, {i * kControlSide, kControlSide}, {i * kControlSide, 0});
}
