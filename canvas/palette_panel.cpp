#include "canvas/palette_panel.h"

#include "canvas/rect.h"
#include "resources/resource.h"
#include "shell/base/default_palette.h"
#include "shell/base/messages.h"

namespace {

RECT Grown(const RECT& r, int n)
{
    return RECT{r.left - n, r.top - n, r.right + n, r.bottom + n};
}

// The mask first (SRCPAINT turns opaque pixels white), then the picture (SRCAND).
void BlitMasked(HDC dc, const RECT& to, HDC icons, POINT mask, POINT picture)
{
    const int w = to.right - to.left;
    const int h = to.bottom - to.top;
    BitBlt(dc, to.left, to.top, w, h, icons, mask.x, mask.y, SRCPAINT);
    BitBlt(dc, to.left, to.top, w, h, icons, picture.x, picture.y, SRCAND);
}

}  // namespace

PalettePanel::PalettePanel(WNDPROC notifyProc) : notify(notifyProc)
{
    bodyRect = kBodyRect;
    titleRect = kTitleRect;

    frameBrush = CreateSolidBrush(RGB(0, 0, 0));
    bodyBrush = CreateSolidBrush(RGB(224, 224, 240));
    titleBrush = CreateSolidBrush(RGB(64, 128, 255));
    highlightBrush = CreateSolidBrush(RGB(255, 128, 0));

    HDC screen = GetDC(nullptr);
    panelDC = CreateCompatibleDC(screen);
    panelBitmap_ = CreateCompatibleBitmap(screen, kPanelWidth, kPanelHeight);
    panelOldBitmap = SelectObject(panelDC, panelBitmap_);
    iconDC = CreateCompatibleDC(screen);
    HGDIOBJ icons = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_PANEL_ICONS), IMAGE_BITMAP, 0, 0, LR_SHARED);
    iconOldBitmap = SelectObject(iconDC, icons);
    ReleaseDC(nullptr, screen);

    sizeBox = SizeBoxRect();
    eraserButton = EraserButtonRect();
    saveButton = SaveButtonRect();
    closeButton = CloseButtonRect();
    for (int k = 0; k < kCellCount; ++k) {
        cells[k].color = defaultPalette[k];
        cells[k].brush = CreateSolidBrush(cells[k].color);
        cells[k].rect = CellRect(k);
    }
}

PalettePanel::~PalettePanel()
{
    for (PaletteCell& cell : cells)
        DeleteObject(cell.brush);
    DeleteObject(frameBrush);
    DeleteObject(bodyBrush);
    DeleteObject(titleBrush);
    DeleteObject(highlightBrush);
    SelectObject(panelDC, panelOldBitmap);
    DeleteObject(panelBitmap_);
    DeleteDC(panelDC);
    SelectObject(iconDC, iconOldBitmap);  // the icon bitmap is shared and never deleted
    DeleteDC(iconDC);
}

LRESULT PalettePanel::send(UINT message, WPARAM wParam, LPARAM lParam)
{
    return notify(owner, message, wParam, lParam);
}

void PalettePanel::carryOut(const PanelAction& action)
{
    for (PanelEffect effect : action.effects) {
        switch (effect) {
        case PanelEffect::None: return;
        case PanelEffect::Render: render(); break;
        case PanelEffect::RefreshBounds: send(PWM_REFRESH, 0, reinterpret_cast<LPARAM>(&bounds)); break;
        case PanelEffect::RefreshWhole: send(PWM_REFRESH); break;
        case PanelEffect::SetTool:
            send(PWM_SETTOOL, colorActive ? static_cast<WPARAM>(penSize) : 0,
                 colorActive ? static_cast<LPARAM>(cells[colorIndex].color) : 0);
            break;
        case PanelEffect::Highlight: send(PWM_SETHIGHLIGHT, highlighter ? 1 : 0); break;
        case PanelEffect::EditColor: send(PWM_EDITCOLOR, static_cast<WPARAM>(action.cell)); break;
        case PanelEffect::Save: send(PWM_SAVEBITMAP); break;
        case PanelEffect::Clear: send(PWM_CLEAR); break;
        case PanelEffect::Close: send(WM_CLOSE); break;
        case PanelEffect::EndPress:
            pressButton = 0;
            pressPart = PanelPart::None;
            break;
        }
    }
}

bool PalettePanel::contains(POINT p) const
{
    return visible && RectContains(bounds, p);
}

void PalettePanel::composeOnto(HDC view, const RECT& r) const
{
    if (visible && bounds.right > r.left && bounds.bottom > r.top && r.right > bounds.left && r.bottom > bounds.top)
        BitBlt(view, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, panelDC, 0, 0,
               SRCCOPY);
}

void PalettePanel::showAt(HWND window, POINT p)
{
    owner = window;
    bounds = RectFromSize({p.x - grabPoint.x, p.y - grabPoint.y}, {kPanelWidth, kPanelHeight});
    visible = true;
    render();
    send(PWM_REFRESH);
}

void PalettePanel::hide()
{
    visible = false;
    carryOut({{PanelEffect::EndPress, PanelEffect::RefreshBounds}});
}

void PalettePanel::refresh()
{
    if (visible)
        carryOut({{PanelEffect::Render, PanelEffect::RefreshBounds}});
}

int PalettePanel::setPenSize(uint32_t n)
{
    penSize = ClampPenSize(n);
    refresh();
    return penSize;
}

bool PalettePanel::selectColor(uint32_t i)
{
    SelectPanelTool(*this, i);
    refresh();
    return colorActive;
}

bool PalettePanel::setCellColor(uint32_t i, COLORREF c)
{
    if (i >= kCellCount)
        return false;
    PaletteCell& cell = cells[i];
    if (cell.color == c)
        return true;
    HBRUSH brush = CreateSolidBrush(c);
    if (brush == nullptr)
        return false;
    DeleteObject(cell.brush);
    cell.brush = brush;
    cell.color = c;
    refresh();
    return true;
}

void PalettePanel::render()
{
    draw(panelDC);
}

void PalettePanel::draw(HDC dc) const
{
    const RECT whole = RectFromSize({0, 0}, {bounds.right - bounds.left, bounds.bottom - bounds.top});
    FillRect(dc, &whole, frameBrush);
    FillRect(dc, &bodyRect, bodyBrush);
    FillRect(dc, &titleRect, titleBrush);
    const RECT sizeFrame = Grown(sizeBox, 1);
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
            const RECT ring = Grown(cells[k].rect, 3);
            FillRect(dc, &ring, highlightBrush);
        }
        const RECT frame = Grown(cells[k].rect, 1);
        FillRect(dc, &frame, frameBrush);
        FillRect(dc, &cells[k].rect, cells[k].brush);
    }

    if (!colorActive) {
        const RECT ring = Grown(eraserButton, 3);
        FillRect(dc, &ring, highlightBrush);
    }
    const RECT eraserFrame = Grown(eraserButton, 1);
    FillRect(dc, &eraserFrame, frameBrush);
    FillRect(dc, &eraserButton, bodyBrush);

    const RECT* buttons[3] = {&eraserButton, &saveButton, &closeButton};
    const int iconWidth = eraserButton.right - eraserButton.left;
    const int maskRow = eraserButton.bottom - eraserButton.top;
    for (int i = 0; i < 3; ++i)
        BlitMasked(dc, *buttons[i], iconDC, {i * iconWidth, maskRow}, {i * iconWidth, 0});
}

void PalettePanel::onButtonDown(POINT p, int button)
{
    carryOut(PanelButtonDown(*this, p, button));
}

// The press is forgotten only after its notification has returned: the dialogs and the close run
// the paint window while it is tracked.
void PalettePanel::onButtonUp(POINT p, int button)
{
    carryOut(PanelButtonUp(*this, p, button));
}

void PalettePanel::onDoubleClick(POINT p, int button)
{
    carryOut(PanelDoubleClick(*this, p, button));
}

void PalettePanel::onMouseMove(POINT p)
{
    carryOut(PanelMouseMove(*this, p));
}

void PalettePanel::onButtonsHeld(int heldButtons)
{
    carryOut(PanelReleaseLost(*this, heldButtons));
}
