#include "canvas/palette_panel.h"

#include "canvas/rect.h"
#include "resources/resource.h"
#include "shell/default_palette.h"
#include "shell/messages.h"

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
    bounds = RECT{0, 0, kPanelWidth, kPanelHeight};
    bodyRect = kBodyRect;
    titleRect = kTitleRect;
    grabPoint = kInitialGrabPoint;

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

void PalettePanel::refreshBounds()
{
    send(PWM_REFRESH, 0, reinterpret_cast<LPARAM>(&bounds));
}

void PalettePanel::notifyTool()
{
    send(PWM_SETTOOL, static_cast<WPARAM>(penSize), static_cast<LPARAM>(cells[colorIndex].color));
}

POINT PalettePanel::relative(POINT p) const
{
    return POINT{p.x - bounds.left, p.y - bounds.top};
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
    pressButton = 0;
    pressPart = PanelPart::None;
    refreshBounds();
}

void PalettePanel::refresh()
{
    if (!visible)
        return;
    render();
    refreshBounds();
}

int PalettePanel::setPenSize(uint32_t n)
{
    penSize = ClampPenSize(n);
    refresh();
    return penSize;
}

bool PalettePanel::selectColor(uint32_t i)
{
    if (i < kCellCount) {
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
    renderInto(panelDC);
}

void PalettePanel::renderInto(HDC dc) const
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
    if (!visible || pressButton != 0 || !RectContains(bounds, p))
        return;
    const POINT q = relative(p);
    int cell = 0;
    pressPart = HitPanelPart(q, colorActive, &cell);
    // Every notification below comes after the state it reports is in place: the paint window may
    // act on the panel again from inside it.
    bool notified = false;
    switch (pressPart) {
    case PanelPart::TitleBar:
        if (button == 1)
            grabPoint = q;
        break;
    case PanelPart::SizeBox:
        grabPoint = q;
        if (button == 1)
            sizeAtPress = penSize;
        if (button == 2) {
            highlighter = !highlighter;
            render();
            send(PWM_SETHIGHLIGHT, highlighter ? 1 : 0);
            notified = true;
        }
        break;
    case PanelPart::ColorCell:
        if (button == 1 || button == 2) {
            colorIndex = cell;
            grabPoint = q;
            colorActive = true;
            render();
            notifyTool();
            notified = true;
        }
        break;
    case PanelPart::EraserButton:
        if (button == 1) {
            grabPoint = q;
            colorActive = false;
            render();
            send(PWM_SETTOOL, 0, 0);
            notified = true;
        }
        break;
    default:
        break;
    }
    pressButton = button;  // tracked, and swallowed, even when it hit no part
    if (notified)
        refreshBounds();
}

void PalettePanel::onButtonUp(POINT p, int button)
{
    if (!visible || pressButton != button)
        return;
    const POINT q = relative(p);
    const PanelPart part = pressPart;
    bool hidByTitle = false;
    if (part == PanelPart::TitleBar && button == 2 && RectContains(titleRect, q)) {
        grabPoint = q;
        visible = false;
        hidByTitle = true;
    } else if (part == PanelPart::ColorCell && button == 2 && CellAt(q) >= 0) {
        send(PWM_EDITCOLOR, static_cast<WPARAM>(CellAt(q)));
    } else if (part == PanelPart::SaveButton && button == 1 && RectContains(saveButton, q)) {
        send(PWM_SAVEBITMAP);
    } else if (part == PanelPart::CloseButton && button == 1 && RectContains(closeButton, q)) {
        SendMessageA(owner, WM_CLOSE, 0, 0);
    }
    // Only now: the dialogs and the close above run the paint window while the press is tracked.
    pressButton = 0;
    pressPart = PanelPart::None;
    if (hidByTitle)
        refreshBounds();
}

void PalettePanel::onDoubleClick(POINT p, int button)
{
    if (!visible || pressButton != 0 || !RectContains(bounds, p))
        return;
    const POINT q = relative(p);
    if (CellAt(q) >= 0) {
        if (button == 1)
            hide();  // the first click of the pair has already chosen the colour
    } else if (RectContains(eraserButton, q)) {
        if (button == 1)
            hide();
        else if (button == 2)
            send(PWM_CLEAR);
    }
}

void PalettePanel::onMouseMove(POINT p)
{
    if (pressButton != 1)
        return;
    if (pressPart == PanelPart::TitleBar) {
        bounds = RectFromSize({p.x - grabPoint.x, p.y - grabPoint.y}, {kPanelWidth, kPanelHeight});
        send(PWM_REFRESH);  // the old place and the new one both change
    } else if (pressPart == PanelPart::SizeBox && !highlighter) {
        setPenSize(static_cast<uint32_t>(DraggedPenSize(sizeAtPress, grabPoint.y + bounds.top, p.y)));
        notifyTool();
    }
}

void PalettePanel::endLostPress(WPARAM keyFlags, int releasing)
{
    const WPARAM flag = pressButton == 1 ? MK_LBUTTON : pressButton == 2 ? MK_RBUTTON : MK_MBUTTON;
    // No save, close or colour dialog: those want a release the user made over them.
    if (pressButton != 0 && pressButton != releasing && !(keyFlags & flag)) {
        pressButton = 0;
        pressPart = PanelPart::None;
    }
}
