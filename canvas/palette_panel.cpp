#include "canvas/palette_panel.h"

#include "shell/default_palette.h"
#include "canvas/rect.h"
#include "resources/resource.h"
#include "shell/messages.h"

namespace {

constexpr int kPanelWidth = 320;
constexpr int kPanelHeight = 60;
constexpr POINT kButtonSize = {20, 20};

RECT Grown(const RECT& r, int n)
{
    return RECT{r.left - n, r.top - n, r.right + n, r.bottom + n};
}

}  // namespace

PalettePanel::PalettePanel(WNDPROC notifyProc) : notify(notifyProc)
{
    bounds = RECT{0, 0, kPanelWidth, kPanelHeight};
    bodyRect = RECT{1, 13, kPanelWidth - 1, kPanelHeight - 1};
    titleRect = RECT{1, 1, kPanelWidth - 1, 12};
    grabPoint = POINT{160, 7};

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

    sizeBox = RectFromSize({10, 25}, kButtonSize);
    eraserButton = RectFromSize({230, 25}, kButtonSize);
    saveButton = RectFromSize({265, 25}, kButtonSize);
    closeButton = RectFromSize({290, 25}, kButtonSize);
    for (int k = 0; k < 8; ++k) {
        cells[k].color = defaultPalette[k];
        cells[k].brush = CreateSolidBrush(cells[k].color);
        cells[k].rect = RectFromSize({38 + 24 * k, 25}, kButtonSize);
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

bool PalettePanel::contains(POINT p) const
{
    return visible && RectContains(bounds, p);
}

void PalettePanel::composeOnto(HDC view, const RECT& r) const
{
    if (visible && bounds.right > r.left && bounds.bottom > r.top && r.right > bounds.left && r.bottom > bounds.top)
        BitBlt(view, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, panelDC, 0, 0, SRCCOPY);
}

void PalettePanel::notifyRefresh(const RECT* r)
{
    notify(owner, PWM_REFRESH, 0, reinterpret_cast<LPARAM>(r));
}

void PalettePanel::showAt(HWND window, POINT p)
{
    owner = window;
    const LONG width = bounds.right - bounds.left;
    const LONG height = bounds.bottom - bounds.top;
    bounds = RECT{p.x - grabPoint.x, p.y - grabPoint.y, p.x - grabPoint.x + width, p.y - grabPoint.y + height};
    visible = true;
    render();
    notifyRefresh(nullptr);
}

void PalettePanel::hide()
{
    visible = false;
    notifyRefresh(&bounds);
}

void PalettePanel::refresh()
{
    if (!visible)
        return;
    render();
    notifyRefresh(&bounds);
}

int PalettePanel::setPenSize(uint32_t n)
{
    penSize = n == 0 ? 1 : (n > 20 ? 20 : static_cast<int>(n));
    refresh();
    return penSize;
}

bool PalettePanel::selectColor(uint32_t i)
{
    if (i < 8) {
        colorIndex = static_cast<int>(i);
        colorActive = true;
    } else {
        colorActive = false;
    }
    refresh();
    return colorActive;
}

bool PalettePanel::setCellColor(uint32_t i, COLORREF c)
{
    if (i >= 8)
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
    const RECT whole = RectFromSize({0, 0}, {bounds.right - bounds.left, bounds.bottom - bounds.top});
    FillRect(panelDC, &whole, frameBrush);
    FillRect(panelDC, &bodyRect, bodyBrush);
    FillRect(panelDC, &titleRect, titleBrush);
    const RECT sizeFrame = Grown(sizeBox, 1);
    FillRect(panelDC, &sizeFrame, frameBrush);
    FillRect(panelDC, &sizeBox, bodyBrush);

    HGDIOBJ oldBrush = SelectObject(panelDC, cells[colorIndex].brush);
    if (colorActive) {
        const int cx = sizeBox.left + (sizeBox.right - sizeBox.left) / 2;
        const int cy = sizeBox.top + (sizeBox.bottom - sizeBox.top) / 2;
        if (highlighter) {
            Rectangle(panelDC, cx - 1, cy - 9, cx + 2, cy + 9);
        } else {
            const int h = penSize / 2;
            Ellipse(panelDC, cx - h - 1, cy - h - 1, cx - h + penSize + 1, cy - h + penSize + 1);
        }
    }
    SelectObject(panelDC, oldBrush);

    for (int k = 0; k < 8; ++k) {
        if (colorActive && k == colorIndex) {
            const RECT ring = Grown(cells[k].rect, 3);
            FillRect(panelDC, &ring, highlightBrush);
        }
        const RECT frame = Grown(cells[k].rect, 1);
        FillRect(panelDC, &frame, frameBrush);
        FillRect(panelDC, &cells[k].rect, cells[k].brush);
    }

    if (!colorActive) {
        const RECT ring = Grown(eraserButton, 3);
        FillRect(panelDC, &ring, highlightBrush);
    }
    const RECT eraserFrame = Grown(eraserButton, 1);
    FillRect(panelDC, &eraserFrame, frameBrush);
    FillRect(panelDC, &eraserButton, bodyBrush);

    // Each icon: its mask first (SRCPAINT turns opaque pixels white), then the picture (SRCAND).
    const RECT* buttons[3] = {&eraserButton, &saveButton, &closeButton};
    const int iconWidth = eraserButton.right - eraserButton.left;
    const int iconHeight = eraserButton.bottom - eraserButton.top;
    for (int i = 0; i < 3; ++i) {
        const RECT& b = *buttons[i];
        const int column = i * iconWidth;
        BitBlt(panelDC, b.left, b.top, b.right - b.left, b.bottom - b.top, iconDC, column, iconHeight, SRCPAINT);
        BitBlt(panelDC, b.left, b.top, b.right - b.left, b.bottom - b.top, iconDC, column, 0, SRCAND);
    }
}

void PalettePanel::onButtonDown(POINT, int) {}
void PalettePanel::onButtonUp(POINT, int) {}
void PalettePanel::onDoubleClick(POINT, int) {}
void PalettePanel::onMouseMove(POINT) {}
