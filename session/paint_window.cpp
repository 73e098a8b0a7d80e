#include "session/paint_window.h"

#include "canvas/compose.h"
#include "canvas/palette_panel.h"
#include "canvas/surfaces.h"
#include "canvas/tool_state.h"
#include "render/bmp_export.h"
#include "render/color_dialog.h"
#include "render/eraser.h"
#include "render/pen_renderer.h"
#include "session/capture.h"
#include "session/keyboard.h"
#include "session/paint_state.h"
#include "session/pointer_input.h"
#include "session/present.h"
#include "session/session_objects.h"
#include "shell/base/default_palette.h"
#include "shell/base/messages.h"
#include "shell/base/monitor.h"
#include "shell/base/platform.h"
#include "shell/base/settings.h"

namespace {

// Applies the remembered palette and tool to the panel and the renderer, and picks the cursor.
void ApplyRememberedTool()
{
    PalettePanel& panel = palettePanel();
    const bool rememberPalette = (Settings.flags & OPT_REMEMBER_PALETTE) != 0;
    for (uint32_t i = 0; i < kCellCount; ++i)
        panel.setCellColor(i, rememberPalette ? Settings.palette[i] : defaultPalette[i]);

    if (!(Settings.flags & OPT_REMEMBER_LAST_PEN)) {
        Settings.lastPen = 0;
        Settings.flags &= ~OPT_HIGHLIGHTER;
    }
    const bool highlighter = (Settings.flags & OPT_HIGHLIGHTER) != 0;
    if (panel.highlighter != highlighter) {
        panel.highlighter = highlighter;
        panel.refresh();
    }
    if (!(Settings.flags & OPT_REMEMBER_PEN_SIZE))
        Settings.penSize = kDefaultPenSize;
    // With the eraser the width stays as the panel holds it.
    if (panel.selectColor(static_cast<uint32_t>(Settings.lastPen)))
        Settings.penSize = static_cast<uint32_t>(panel.setPenSize(Settings.penSize));
    SetCurrentCursor(ApplyTool());
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA* create)
{
    // At the scale of the monitor the session starts on, where the pointer is.
    LoadToolCursors(create->hInstance, Platform.monitorDpi(MonitorUnderPointer().monitor));
    ResetGestureButtons(gesture);
    ForgetPressedKeys();

    // A session that cannot have all its surfaces must not start half-built: failing the creation
    // lets the settings window tell the user.
    if (!CreateSurfaces(window))
        return -1;
    // Notifications of the panel go to the running session's window.
    palettePanel().owner = window;

    PenRenderer& renderer = penRenderer();
    renderer.target = drawingSurface;
    renderer.backup = committedSurface;
    // Rectangles are outlines only. A stock brush: nothing to delete, and the DC may go with it selected.
    SelectObject(drawingSurface, GetStockObject(NULL_BRUSH));
    Eraser& e = eraser();
    e.target = drawingSurface;
    e.backup = committedSurface;
    e.source = captureSurface;
    e.extent = RECT{-10, -10, 10, 10};

    ApplyRememberedTool();
    return 0;
}

void OnDestroy(HWND window)
{
    if (!SurfacesExist())
        return;  // the creation failed: there is no session to end
    PalettePanel& panel = palettePanel();
    panel.hide();  // composes the area it covered, so before the surfaces go
    penRenderer().releasePen();
    undoHistory.clear();
    ReleaseSurfaces(window);

    Settings.lastPen = panel.colorActive ? panel.colorIndex : -1;
    Settings.penSize = static_cast<uint32_t>(panel.penSize);
    if (panel.highlighter)
        Settings.flags |= OPT_HIGHLIGHTER;
    else
        Settings.flags &= ~OPT_HIGHLIGHTER;
    PostMessageA(GetParent(window), TWM_SESSION_ENDED, 0, 0);
}

void OnClear(HWND window)
{
    if (!SurfacesExist())
        return;
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    undoHistory.keep(committedSurface, client);
    BitBlt(committedSurface, 0, 0, client.right, client.bottom, captureSurface, 0, 0, SRCCOPY);
    BitBlt(drawingSurface, 0, 0, client.right, client.bottom, captureSurface, 0, 0, SRCCOPY);
    PresentRect(window, nullptr);
}

// The colour dialog for a cell; an accepted colour goes into the settings, the cell and the pen.
void EditPaletteColor(HWND window, uint32_t slot)
{
    PalettePanel& panel = palettePanel();
    const COLORREF initial = slot < kCellCount ? panel.cells[slot].color : 0xFFFFFFFF;
    COLORREF chosen = 0;
    if (!ChooseCellColor(window, initial, chosen) || slot >= kCellCount)
        return;
    Settings.palette[slot] = chosen;
    panel.setCellColor(slot, chosen);
    panel.selectColor(slot);
    panel.hide();
    ApplyTool();  // the pointer is still over the panel's place: the next move sets the cursor
}

// A session that starts magnified centres its first frame on the pointer, wherever the last session
// left lastPointer (perhaps outside a smaller desktop), and composes it before the window shows.
void OnCapture(HWND window)
{
    CaptureDesktop(window);
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    POINT p = {0, 0};
    if (Platform.getCursorPos(&p) && ScreenToClient(window, &p) && client.right > 0 && client.bottom > 0) {
        lastPointer.x = p.x < 0 ? 0 : (p.x >= client.right ? client.right - 1 : p.x);
        lastPointer.y = p.y < 0 ? 0 : (p.y >= client.bottom ? client.bottom - 1 : p.y);
    }
    if (zoomLevel != 0)
        PresentRect(window, nullptr);
}

// Only the pen row acts on the release of a system key; the rest (Alt+F4 among them) is the system's.
LRESULT OnSystemKeyUp(HWND window, WPARAM wParam, LPARAM lParam)
{
    return OnSysKeyUp(static_cast<UINT>(wParam)) ? 0 : DefWindowProcA(window, WM_SYSKEYUP, wParam, lParam);
}

// Pointer positions are the low and high words of lParam, each sign-extended: left of or above a
// primary monitor they are negative.
POINT PointFrom(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

LRESULT CALLBACK PaintWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_DESTROY: OnDestroy(window); return 0;
    case WM_PAINT: PaintFromView(window); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: OnKeyDown(window, static_cast<UINT>(wParam)); break;  // and the default processing: Alt+F4
    case WM_KEYUP: OnKeyUp(window, static_cast<UINT>(wParam)); return 0;
    case WM_SYSKEYUP: return OnSystemKeyUp(window, wParam, lParam);
    case WM_MOUSEMOVE: OnPointerMove(window, PointFrom(lParam), wParam); return 0;
    case WM_LBUTTONDOWN: OnPointerButtonDown(window, kLeftButton, PointFrom(lParam), wParam); return 0;
    case WM_RBUTTONDOWN: OnPointerButtonDown(window, kRightButton, PointFrom(lParam), wParam); return 0;
    case WM_MBUTTONDOWN: OnPointerButtonDown(window, kMiddleButton, PointFrom(lParam), wParam); return 0;
    case WM_LBUTTONUP: OnPointerButtonUp(window, kLeftButton, PointFrom(lParam), wParam); return 0;
    case WM_RBUTTONUP: OnPointerButtonUp(window, kRightButton, PointFrom(lParam), wParam); return 0;
    case WM_MBUTTONUP: OnPointerButtonUp(window, kMiddleButton, PointFrom(lParam), wParam); return 0;
    case WM_LBUTTONDBLCLK: OnPointerDoubleClick(window, kLeftButton, PointFrom(lParam), wParam); return 0;
    case WM_RBUTTONDBLCLK: OnPointerDoubleClick(window, kRightButton, PointFrom(lParam), wParam); return 0;
    case WM_MOUSEWHEEL: OnPointerWheel(window, static_cast<short>(HIWORD(wParam)), LOWORD(wParam)); return 0;
    case PWM_CAPTURE: OnCapture(window); return 0;
    case PWM_REFRESH: PresentRect(window, reinterpret_cast<const RECT*>(lParam)); return 0;
    // The panel has made the choice these report; the pointer is over it, so its cursor stays.
    case PWM_SETTOOL:
    case PWM_SETHIGHLIGHT: ApplyTool(); return 0;
    case PWM_CLEAR: OnClear(window); return 0;
    case PWM_EDITCOLOR: EditPaletteColor(window, static_cast<uint32_t>(wParam)); return 0;
    case PWM_SAVEBITMAP:
        if (SurfacesExist())
            SaveDrawing(window, drawingSurface);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterPaintClass(HINSTANCE instance)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    // Double-clicks arrive as their own messages; no class cursor or background, so the window's
    // own cursor stays and nothing is erased before painting.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = PaintWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kPaintClassName;
    RegisterClassExA(&wc);  // fails harmlessly from the second session on: the class exists
}

HWND CreatePaintWindow(HWND owner, HINSTANCE instance)
{
    // The objects that outlive sessions exist before the window's first message.
    BuildSessionObjects(PaintWindowProc);
    RegisterPaintClass(instance);
    return CreateWindowExA(WS_EX_TOPMOST, kPaintClassName, kProgramName, WS_POPUP, MonitorMetric(SM_XVIRTUALSCREEN),
                           MonitorMetric(SM_YVIRTUALSCREEN), MonitorMetric(SM_CXVIRTUALSCREEN),
                           MonitorMetric(SM_CYVIRTUALSCREEN), owner, nullptr, instance, nullptr);
}
