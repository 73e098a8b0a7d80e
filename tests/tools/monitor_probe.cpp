// A Windows helper for the multi-monitor end-to-end test: it reports the display layout Wine sees,
// puts a known picture over the whole virtual screen, and reads screen pixels.
//
//   monitor_probe metrics          print "virtual X Y W H", "monitors N", then one
//                                  "monitor LEFT TOP RIGHT BOTTOM [primary]" line per monitor
//   monitor_probe pattern          show the picture in a window of class SCRIVANE_PROBE over the
//                                  virtual screen until it gets WM_CLOSE; message 1025 switches it
//                                  to its second colouring (blue 0xC0 instead of 0x40)
//   monitor_probe pixels X Y ...   print each screen pixel as RRGGBB, one a line
//
// The picture is made of 128x100 blocks counted from the virtual screen's top-left corner; block
// (bx, by) is RGB(16 + 12 * bx, 24 + 28 * by, blue). Every block differs from its neighbours, so a
// copy of the screen that lands shifted, even by one pixel, shows the wrong colour at a block edge.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr char kProbeClass[] = "SCRIVANE_PROBE";
constexpr UINT kSwitchColouring = WM_USER + 1;  // 1025
constexpr int kBlockWidth = 128;
constexpr int kBlockHeight = 100;

BYTE blue = 0x40;

BOOL CALLBACK ListMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& r = info.rcMonitor;
        std::printf("monitor %ld %ld %ld %ld%s\n", r.left, r.top, r.right, r.bottom,
                    (info.dwFlags & MONITORINFOF_PRIMARY) ? " primary" : "");
    }
    return TRUE;
}

int Metrics()
{
    std::printf("virtual %d %d %d %d\n", GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    std::printf("monitors %d\n", GetSystemMetrics(SM_CMONITORS));
    EnumDisplayMonitors(nullptr, nullptr, ListMonitor, 0);
    return 0;
}

void PaintPattern(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    for (int top = 0, by = 0; top < client.bottom; top += kBlockHeight, ++by) {
        for (int left = 0, bx = 0; left < client.right; left += kBlockWidth, ++bx) {
            HBRUSH brush = CreateSolidBrush(RGB(16 + 12 * bx, 24 + 28 * by, blue));
            const RECT block = {left, top, left + kBlockWidth, top + kBlockHeight};
            FillRect(dc, &block, brush);
            DeleteObject(brush);
        }
    }
    EndPaint(window, &ps);
}

LRESULT CALLBACK PatternProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: PaintPattern(window); return 0;
    case WM_ERASEBKGND: return 1;
    case kSwitchColouring:
        blue = 0xC0;
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        GdiFlush();
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int Pattern()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PatternProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kProbeClass;
    if (!RegisterClassA(&wc))
        return 1;
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kProbeClass, "probe", WS_POPUP,
                                  GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                  GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN), nullptr,
                                  nullptr, wc.hInstance, nullptr);
    if (window == nullptr)
        return 1;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

int Pixels(int count, char** args)
{
    HDC screen = GetDC(nullptr);
    for (int i = 0; i + 1 < count; i += 2) {
        const COLORREF c = GetPixel(screen, std::atoi(args[i]), std::atoi(args[i + 1]));
        if (c == CLR_INVALID)
            std::printf("invalid\n");
        else
            std::printf("%02X%02X%02X\n", GetRValue(c), GetGValue(c), GetBValue(c));
    }
    ReleaseDC(nullptr, screen);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && !std::strcmp(argv[1], "metrics"))
        return Metrics();
    if (argc >= 2 && !std::strcmp(argv[1], "pattern"))
        return Pattern();
    if (argc >= 4 && !std::strcmp(argv[1], "pixels"))
        return Pixels(argc - 2, argv + 2);
    std::fprintf(stderr, "monitor_probe: unknown command\n");
    return 2;
}
