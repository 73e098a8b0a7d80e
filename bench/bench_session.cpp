// Drives a real paint session through the paint window procedure, with the messages real input
// sends, and prints per-event times next to the least GDI work each event needs, measured in the
// same run on the same surfaces. Run by scripts/bench.sh on screens of several sizes.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "canvas/palette_panel.h"
#include "canvas/surfaces.h"
#include "render/eraser.h"
#include "render/pen_renderer.h"
#include "session/paint_state.h"
#include "session/paint_window.h"
#include "session/session_objects.h"
#include "shell/base/messages.h"
#include "shell/base/settings.h"

namespace {

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Figures {
    double median, p99, worst;
};

Figures Summary(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    if (ms.empty())
        return {0, 0, 0};
    return {ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back()};
}

HWND window;
int width, height;

void Send(UINT message, WPARAM wParam, int x, int y)
{
    PaintWindowProc(window, message, wParam, MAKELPARAM(x, y));
}

// The two copies every presented rectangle costs at least: drawing to view, view to the window.
void PresentCopies(const RECT& r)
{
    BitBlt(viewSurface, r.left, r.top, r.right - r.left, r.bottom - r.top, drawingSurface, r.left, r.top, SRCCOPY);
    BitBlt(windowDC, r.left, r.top, r.right - r.left, r.bottom - r.top, viewSurface, r.left, r.top, SRCCOPY);
}

// A short stroke of `steps` moves from (x,y), each event timed; the least work of each step is timed
// right after it by `least`, given the step's end point and the rectangle the step presented.
void Stroke(WPARAM keys, int x, int y, int steps, std::vector<double>& event, std::vector<double>& bare,
            const std::function<void(POINT, const RECT&)>& least, const RECT& (*presented)())
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON | keys, x, y);
    for (int i = 1; i <= steps; ++i) {
        const int px = x + 4 * i, py = y + (i % 7) * 2;
        const double t0 = Now();
        Send(WM_MOUSEMOVE, MK_LBUTTON | keys, px, py);
        const double t1 = Now();
        const RECT r = presented();
        least({px, py}, r);
        const double t2 = Now();
        event.push_back(t1 - t0);
        bare.push_back(t2 - t1);
    }
    Send(WM_LBUTTONUP, keys, x + 4 * steps, y);
}

const RECT& PenArea()
{
    return penRenderer().dirtyRect;
}

const RECT& EraserArea()
{
    return eraser().dirtyRect;
}

void Report(const char* what, const std::vector<double>& event, const std::vector<double>& bare)
{
    const Figures e = Summary(event), b = Summary(bare);
    std::printf("  %-22s %8.3f %8.3f %8.3f   %8.3f %8.3f   %5.2f\n", what, e.median, e.p99, e.worst, b.median, b.p99,
                b.median > 0 ? e.median / b.median : 0.0);
}

}  // namespace

int main()
{
    SetProcessDPIAware();
    width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    Settings = SettingsRecord();
    Settings.flags &= ~OPT_DELAYED_LAUNCH;

    // Session start: window creation, the capture and showing it, against one screen grab and the
    // three full-surface copies the capture needs at least.
    const double s0 = Now();
    window = CreatePaintWindow(nullptr, GetModuleHandleA(nullptr));
    PaintWindowProc(window, PWM_CAPTURE, 0, 0);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    const double s1 = Now();
    HDC screen = GetDC(nullptr);
    BitBlt(captureSurface, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    BitBlt(committedSurface, 0, 0, width, height, captureSurface, 0, 0, SRCCOPY);
    BitBlt(drawingSurface, 0, 0, width, height, captureSurface, 0, 0, SRCCOPY);
    BitBlt(viewSurface, 0, 0, width, height, drawingSurface, 0, 0, SRCCOPY);
    const double s2 = Now();

    std::printf("screen %dx%d, times in ms\n", width, height);
    std::printf("  %-22s %8s %8s %8s   %8s %8s   %5s\n", "event", "median", "p99", "worst", "least", "p99", "ratio");

    // Scratch surfaces for the least work, so that it never disturbs the session's picture.
    HDC scratch = CreateCompatibleDC(drawingSurface);
    HBITMAP scratchBitmap = CreateCompatibleBitmap(drawingSurface, width, height);
    HGDIOBJ scratchOld = SelectObject(scratch, scratchBitmap);
    const LOGBRUSH ink = {BS_SOLID, 0, 0};
    HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, 5, &ink, 0, nullptr);
    HGDIOBJ scratchPen = SelectObject(scratch, pen);
    POINT last = {0, 0};

    std::vector<double> event, bare, strokeCost;
    auto strokes = [&](const char* name, WPARAM keys, const std::function<void(POINT, const RECT&)>& least,
                       const RECT& (*area)(), int count) {
        event.clear();
        bare.clear();
        strokeCost.clear();
        for (int s = 0; s < count; ++s) {
            const int x = 50 + (s * 37) % (width - 300), y = 50 + (s * 53) % (height - 300);
            last = {x, y};
            MoveToEx(scratch, x, y, nullptr);
            const size_t before = event.size();
            Stroke(keys, x, y, 20, event, bare, least, area);
            double total = 0;
            for (size_t i = before; i < event.size(); ++i)
                total += event[i];
            strokeCost.push_back(total);
        }
        Report(name, event, bare);
    };

    strokes("pen step", 0, [&](POINT p, const RECT& r) { LineTo(scratch, p.x, p.y); PresentCopies(r); }, PenArea, 1000);
    // Single strokes are noisy: the median of the first ten against that of the last ten.
    auto median = [](std::vector<double> v) { std::sort(v.begin(), v.end()); return v[v.size() / 2]; };
    const double first = median({strokeCost.begin(), strokeCost.begin() + 10});
    const double thousandth = median({strokeCost.end() - 10, strokeCost.end()});

    // As the panel does: its state first, then the notification.
    palettePanel().highlighter = true;
    PaintWindowProc(window, PWM_SETHIGHLIGHT, 1, 0);
    HDC strip = penRenderer().stripDC;
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 64, 0};
    strokes("highlighter step", 0, [&](POINT p, const RECT& r) {
        for (int x = last.x; x < p.x; ++x)
            AlphaBlend(scratch, x, p.y - 19, 1, 20, strip, 0, 0, 1, 20, blend);
        last = p;
        PresentCopies(r);
    }, PenArea, 200);
    palettePanel().highlighter = false;
    PaintWindowProc(window, PWM_SETHIGHLIGHT, 0, 0);

    // The rubber band: the previous rectangle's area back from the committed surface, the outline,
    // and the union of both presented.
    RECT previous = {0, 0, 0, 0};
    strokes("Shift-rectangle step", MK_SHIFT, [&](POINT p, const RECT& r) {
        BitBlt(scratch, previous.left, previous.top, previous.right - previous.left, previous.bottom - previous.top,
               committedSurface, previous.left, previous.top, SRCCOPY);
        Rectangle(scratch, last.x, last.y, p.x, p.y);
        PresentCopies(r);
        previous = penRenderer().dirtyRect;
    }, [] () -> const RECT& { static RECT r; r = penRenderer().dirtyRect; return r; }, 200);

    palettePanel().selectColor(kCellCount);
    PaintWindowProc(window, PWM_SETTOOL, 0, 0);
    strokes("eraser step", 0, [&](POINT p, const RECT& r) {
        BitBlt(scratch, p.x - 10, p.y - 10, 20, 20, captureSurface, p.x - 10, p.y - 10, SRCCOPY);
        PresentCopies(r);
    }, EraserArea, 200);
    palettePanel().selectColor(0);
    PaintWindowProc(window, PWM_SETTOOL, 5, 0);

    // Magnified six times: every move recomposes the whole area.
    for (int i = 0; i < 5; ++i)
        PaintWindowProc(window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    event.clear();
    bare.clear();
    for (int i = 0; i < 300; ++i) {
        const int x = 100 + (i * 7) % (width - 200), y = 100 + (i * 3) % (height - 200);
        const double t0 = Now();
        Send(WM_MOUSEMOVE, 0, x, y);
        const double t1 = Now();
        StretchBlt(scratch, 0, 0, width, height, drawingSurface, x * 5 / 6, y * 5 / 6, width / 6, height / 6, SRCCOPY);
        BitBlt(windowDC, 0, 0, width, height, scratch, 0, 0, SRCCOPY);
        const double t2 = Now();
        event.push_back(t1 - t0);
        bare.push_back(t2 - t1);
    }
    Report("magnified move (6x)", event, bare);
    for (int i = 0; i < 5; ++i)
        PaintWindowProc(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);

    // Dragging the panel by its title: the whole area is recomposed at each step.
    PalettePanel& panel = palettePanel();
    panel.showAt(window, {400, 300});
    event.clear();
    bare.clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 400, 300);
    for (int i = 1; i <= 300; ++i) {
        const int x = 400 + i % 200, y = 300 + (i * 3) % 200;
        const double t0 = Now();
        Send(WM_MOUSEMOVE, MK_LBUTTON, x, y);
        const double t1 = Now();
        BitBlt(scratch, 0, 0, width, height, drawingSurface, 0, 0, SRCCOPY);
        BitBlt(scratch, panel.bounds.left, panel.bounds.top, 320, 60, panel.panelDC, 0, 0, SRCCOPY);
        BitBlt(windowDC, 0, 0, width, height, scratch, 0, 0, SRCCOPY);
        const double t2 = Now();
        event.push_back(t1 - t0);
        bare.push_back(t2 - t1);
    }
    Send(WM_LBUTTONUP, 0, 400, 300);
    Report("panel title drag step", event, bare);

    std::printf("  strokes 1-10 %.3f ms, strokes 991-1000 %.3f ms (medians), ratio %.2f\n", first, thousandth,
                first > 0 ? thousandth / first : 0.0);
    std::printf("  session start %.1f ms, one screen grab and three copies %.1f ms, ratio %.2f\n", s1 - s0, s2 - s1,
                (s1 - s0) / (s2 - s1));

    SelectObject(scratch, scratchPen);
    DeleteObject(pen);
    SelectObject(scratch, scratchOld);
    DeleteObject(scratchBitmap);
    DeleteDC(scratch);
    DestroyWindow(window);
    return 0;
}
