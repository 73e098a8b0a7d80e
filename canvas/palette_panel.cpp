#include "canvas/palette_panel.h"

#include "canvas/rect.h"
#include "resources/resource.h"
#include "shell/base/default_palette.h"
#include "shell/base/messages.h"
#include "shell/base/monitor.h"
#include "shell/base/platform.h"

PalettePanel::PalettePanel(WNDPROC notifyProc) : notify(notifyProc)
{
    frameBrush = CreateSolidBrush(RGB(0, 0, 0));
    bodyBrush = CreateSolidBrush(RGB(224, 224, 240));
    titleBrush = CreateSolidBrush(RGB(64, 128, 255));
    highlightBrush = CreateSolidBrush(RGB(255, 128, 0));

    HDC screen = GetDC(nullptr);
    panelDC = CreateCompatibleDC(screen);
    iconDC = CreateCompatibleDC(screen);
    HGDIOBJ icons =
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_PANEL_ICONS), IMAGE_BITMAP, 0, 0, LR_SHARED);
    iconOldBitmap = SelectObject(iconDC, icons);
    ReleaseDC(nullptr, screen);

    for (int k = 0; k < kCellCount; ++k) {
        cells[k].color = defaultPalette[k];
        cells[k].brush = CreateSolidBrush(cells[k].color);
    }
    layOut();
}

// The rectangles and a bitmap of the panel's size at its DPI; false, and nothing changed, when no
// bitmap of that size can be had.
bool PalettePanel::layOut()
{
    const POINT size = PanelSize(dpi);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size.x, size.y);
    ReleaseDC(nullptr, screen);
    if (bitmap == nullptr)
        return false;
    HGDIOBJ previous = SelectObject(panelDC, bitmap);
    if (panelBitmap_ == nullptr)
        panelOldBitmap = previous;
    DeleteObject(panelBitmap_);
    panelBitmap_ = bitmap;

    bodyRect = BodyRect(dpi);
    titleRect = TitleRect(dpi);
    sizeBox = SizeBoxRect(dpi);
    eraserButton = EraserButtonRect(dpi);
    saveButton = SaveButtonRect(dpi);
    closeButton = CloseButtonRect(dpi);
    for (int k = 0; k < kCellCount; ++k)
        cells[k].rect = CellRect(k, dpi);
    return true;
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
    POINT onScreen = p;
    ClientToScreen(window, &onScreen);
    const int laidOutFor = dpi;
    PanelShowAt(*this, p, static_cast<int>(Platform.monitorDpi(MonitorNearestPoint(onScreen))));
    if (dpi != laidOutFor && !layOut())
        PanelShowAt(*this, p, laidOutFor);  // no room for the larger picture: the scale it had
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
