// A Windows helper that the end-to-end stories run under Wine beside the program:
//   wait CLASS present|gone|visible MS  until a window of CLASS is so; "visible" prints the ms waited
//   post CLASS MSG [WPARAM LPARAM]      posts a message to the window of CLASS
//   pixels MS X Y RRGGBB...             until the listed screen pixels have those colours ("-": the
//                                       pattern's); prints the wrong ones when MS have passed
//   picture X Y W H [RRGGBB]            shows the pattern, or one colour
//   hold clipboard|VK MODS MS           keeps the clipboard open, or the hot key, for MS; prints "held"
//   key VK...                           presses and releases each key as keyboard input
//   clipboard                           prints the width, height and bits of the clipboard's CF_DIB
// Commands joined by "+" run in one process, without a start between them. The pattern: 128x100
// blocks from the screen point (-1024, 0), block (bx, by) RGB(16 + 12 bx, 24 + 28 by, 0x40), so that
// a copy of the screen that lands shifted shows a wrong colour at a block edge.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

COLORREF solid = CLR_INVALID;  // one colour instead of the pattern

long Number(const char* text) { return std::strtol(text, nullptr, 0); }

COLORREF Pattern(int x, int y) { return RGB(16 + 12 * ((x + 1024) / 128), 24 + 28 * (y / 100), 0x40); }  // x >= -1024

COLORREF Colour(const char* rrggbb)
{
    const unsigned long rgb = std::strtoul(rrggbb, nullptr, 16);
    return RGB(rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF);
}

int Wait(const char* cls, const char* state, DWORD ms)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start <= ms; Sleep(10))
        if (HWND w = FindWindowA(cls, nullptr); *state == 'g' ? !w : w && (*state == 'p' || IsWindowVisible(w))) {
            *state == 'v' && std::printf("%lu\n", GetTickCount() - start);
            return 0;
        }
    std::fprintf(stderr, "scrivctl: no %s window %s after %lu ms\n", cls, state, ms);
    return 1;
}

// How many of the listed pixels are wrong, printing them when asked to.
int WrongPixels(int count, char** args, bool print)
{
    int wrong = 0;
    HDC screen = GetDC(nullptr);
    for (int i = 0; i + 2 < count; i += 3) {
        const int x = Number(args[i]), y = Number(args[i + 1]);
        const COLORREF is = GetPixel(screen, x, y), want = *args[i + 2] == '-' ? Pattern(x, y) : Colour(args[i + 2]);
        if (is != want && ++wrong && print)
            std::printf("pixel %d,%d: %06lX, expected %06lX\n", x, y, RGB(GetBValue(is), GetGValue(is), GetRValue(is)),
                        RGB(GetBValue(want), GetGValue(want), GetRValue(want)));
    }
    ReleaseDC(nullptr, screen);
    return wrong;
}

LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT ps;
    RECT w;
    BeginPaint(window, &ps);
    GetWindowRect(window, &w);  // w.left >= -1024, w.top >= 0
    for (int by = w.top / 100; by * 100 < w.bottom; ++by)
        for (int bx = (w.left + 1024) / 128; bx * 128 - 1024 < w.right; ++bx) {
            RECT block = {bx * 128 - 1024, by * 100, bx * 128 - 896, by * 100 + 100};
            OffsetRect(&block, -w.left, -w.top);
            SetDCBrushColor(ps.hdc, solid != CLR_INVALID ? solid : Pattern(bx * 128 - 1024, by * 100));
            FillRect(ps.hdc, &block, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        }
    EndPaint(window, &ps);
    return 0;
}

// Never activated and not topmost, so that it never comes over the program's windows by itself.
int Picture(char** args)
{
    WNDCLASSA wc = {0, PictureProc, 0, 0, GetModuleHandleA(nullptr), nullptr, LoadCursor(nullptr, IDC_ARROW), nullptr,
                    nullptr, "SCRIVCTL_PICTURE"};
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, "", WS_POPUP, Number(args[0]),
                                  Number(args[1]), Number(args[2]), Number(args[3]), nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG msg;
    while (window && GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return window ? 0 : 1;
}

int Keys(int count, char** args)
{
    for (int i = 0; i < count; ++i) {
        const BYTE vk = BYTE(Number(args[i])), scan = BYTE(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        const DWORD extended = vk == VK_SNAPSHOT || (vk >= VK_PRIOR && vk <= VK_DOWN) ? KEYEVENTF_EXTENDEDKEY : 0;
        keybd_event(vk, scan, extended, 0), keybd_event(vk, scan, extended | KEYEVENTF_KEYUP, 0);
    }
    return 0;
}

int Run(int count, char** args)
{
    const char* verb = count ? args[0] : "";
    HWND w = count >= 3 ? FindWindowA(args[1], nullptr) : nullptr;
    if (!std::strcmp(verb, "wait") && count >= 4)
        return Wait(args[1], args[2], Number(args[3]));
    if (!std::strcmp(verb, "post") && count >= 3)
        return w && PostMessageA(w, Number(args[2]), count >= 5 ? Number(args[3]) : 0, count >= 5 ? Number(args[4]) : 0) ? 0 : 1;
    if (!std::strcmp(verb, "pixels") && count >= 5) {
        for (const DWORD start = GetTickCount(); WrongPixels(count - 2, args + 2, false); Sleep(20))
            if (GetTickCount() - start >= DWORD(Number(args[1])))
                return WrongPixels(count - 2, args + 2, true) ? 1 : 0;
        return 0;
    }
    if (!std::strcmp(verb, "picture") && count >= 5) {
        solid = count >= 6 ? Colour(args[5]) : CLR_INVALID;
        return Picture(args + 1);
    }
    if (!std::strcmp(verb, "hold") && count >= 3) {  // another program at its clipboard work, or owning the key
        if (count == 3 ? !OpenClipboard(nullptr) : !RegisterHotKey(nullptr, 1, Number(args[2]), Number(args[1])))
            return 1;
        std::printf("held\n"), std::fflush(stdout), Sleep(Number(args[count - 1]));
        return 0;
    }
    if (!std::strcmp(verb, "key") && count >= 2)
        return Keys(count - 1, args + 1);
    if (!std::strcmp(verb, "clipboard") && OpenClipboard(nullptr)) {
        const auto* dib = static_cast<const BITMAPINFOHEADER*>(GlobalLock(GetClipboardData(CF_DIB)));
        dib && std::printf("%ld %ld %u\n", dib->biWidth, dib->biHeight, dib->biBitCount);
        return CloseClipboard(), dib ? 0 : 1;
    }
    std::fprintf(stderr, "scrivctl: unknown command or missing arguments: %s\n", verb);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    _setmode(_fileno(stdout), _O_BINARY);  // "\n" line ends: the output goes to shell scripts
    int result = 0;
    for (int first = 1, i = 1; i <= argc && result == 0; ++i)
        if (i == argc || !std::strcmp(argv[i], "+"))
            result = Run(i - first, argv + first), first = i + 1;
    return result;
}
