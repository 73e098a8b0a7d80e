// A small Windows helper that end-to-end tests run under Wine beside the program: it finds the
// program's windows, sends them what a user's action would, shows known pictures and reads what the
// screen shows.
//
//   scrivctl wait-window CLASS [ms]         exit 0 once a window of CLASS exists
//   scrivctl wait-gone CLASS [ms]           exit 0 once no window of CLASS exists
//   scrivctl wait-visible CLASS [ms]        exit 0 once a window of CLASS is visible; prints the ms waited
//   scrivctl visible CLASS                  exit 0 if a window of CLASS is visible
//   scrivctl count CLASS                    print how many top-level windows of CLASS exist
//   scrivctl command CLASS ID               post WM_COMMAND ID to it
//   scrivctl post CLASS MSG WPARAM LPARAM   post any message
//   scrivctl rect CLASS                     print "left top right bottom" of its window rectangle
//   scrivctl control CLASS ID               print "left top right bottom text" of its child control ID,
//                                           on the screen, the text in UTF-8
//   scrivctl pixel X Y                      print the screen pixel as RRGGBB
//   scrivctl wait-pixels MS TOL X Y RRGGBB...  exit 0 once every listed screen pixel is within TOL per
//                                           channel of its colour; else print each one that is not
//   scrivctl keep-pixels MS TOL X Y RRGGBB...  the same, but every check for MS must pass
//   scrivctl show-picture X Y W H C1 C2 C3 C4 [D1 D2 D3 D4]
//                                           show a window of four quadrants (top-left, top-right,
//                                           bottom-left, bottom-right) until it is closed;
//                                           change-picture switches it to the D colours
//   scrivctl change-picture                 repaint that window with its second colours; returns once done
//   scrivctl flash X Y W H                  show a grey window over the place until the screen shows it,
//                                           then remove it; exit 1 if it never showed
//   scrivctl set-clipboard-dib 24|32 W H C1 C2 C3 C4 [top-down]
//                                           put a CF_DIB of four quadrants on the clipboard: 24-bit
//                                           BI_RGB, or 32-bit BI_BITFIELDS with the masks in reverse
//                                           order (red lowest), bottom-up unless top-down
//   scrivctl clear-clipboard                leave the clipboard empty
//   scrivctl key VK...                      press and release each key with SendInput
//   scrivctl key-down VK / key-up VK        one half of a key stroke
//   scrivctl message-text CAPTION [ms]      wait for a message box with that caption; print its text
//   scrivctl answer-message CAPTION ID      press the box's button ID (1 OK, 2 Cancel); exit 0 once gone
//   scrivctl hold-hotkey VK MODS MS         register a global hot key (RegisterHotKey modifiers) and
//                                           keep it for MS; prints "held" once it is registered
//   scrivctl hold-clipboard MS              keep the clipboard open for MS; prints "held" once open
//
// Several commands run in one process when joined by "+", e.g. "key 0x2C + wait-visible CLASS 3000":
// the wait then starts right after the key, without a process start in between.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const char kPictureClass[] = "SCRIVCTL_PICTURE";
const char kFlashClass[] = "SCRIVCTL_FLASH";
constexpr UINT kChangePicture = WM_APP + 1;

HWND Find(const char* cls)
{
    return FindWindowA(cls, nullptr);
}

long Number(const char* text)
{
    return std::strtol(text, nullptr, 0);
}

// "RRGGBB" as a COLORREF.
COLORREF Colour(const char* text)
{
    const unsigned long rgb = std::strtoul(text, nullptr, 16);
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

int WaitFor(const char* cls, DWORD ms, bool present)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if ((Find(cls) != nullptr) == present)
            return 0;
        if (GetTickCount() - start > ms)
            return 1;
        Sleep(20);
    }
}

int WaitVisible(const char* cls, DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        HWND w = Find(cls);
        if (w && IsWindowVisible(w)) {
            std::printf("%lu\n", static_cast<unsigned long>(GetTickCount() - start));
            return 0;
        }
        if (GetTickCount() - start > ms) {
            std::fprintf(stderr, "scrivctl: no visible %s window after %lu ms\n", cls, static_cast<unsigned long>(ms));
            return 1;
        }
        Sleep(10);
    }
}

struct CountArgs {
    const char* cls;
    int count;
};

BOOL CALLBACK CountWindow(HWND w, LPARAM param)
{
    auto* args = reinterpret_cast<CountArgs*>(param);
    char name[64];
    if (GetClassNameA(w, name, sizeof(name)) && !std::strcmp(name, args->cls))
        ++args->count;
    return TRUE;
}

// ---- screen pixels

struct PixelCheck {
    int x, y;
    COLORREF expected;
};

bool Close(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Reads every listed pixel from one copy of the screen; prints the wrong ones when asked to.
bool CheckPixels(const std::vector<PixelCheck>& checks, int tolerance, bool report)
{
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
    bool all = true;
    for (const PixelCheck& c : checks) {
        const COLORREF actual = GetPixel(memory, c.x - left, c.y - top);
        if (Close(actual, c.expected, tolerance))
            continue;
        all = false;
        if (report)
            std::printf("pixel (%d,%d): actual %02X%02X%02X, expected %02X%02X%02X (tolerance %d)\n", c.x, c.y,
                        GetRValue(actual), GetGValue(actual), GetBValue(actual), GetRValue(c.expected),
                        GetGValue(c.expected), GetBValue(c.expected), tolerance);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return all;
}

// wait: pass once all match within ms; keep: every check within ms must match.
int Pixels(bool keep, int argc, char** argv)
{
    if (argc < 5 || (argc - 2) % 3 != 0)
        return 2;
    const DWORD ms = Number(argv[0]);
    const int tolerance = Number(argv[1]);
    std::vector<PixelCheck> checks;
    for (int i = 2; i + 2 < argc; i += 3)
        checks.push_back({static_cast<int>(Number(argv[i])), static_cast<int>(Number(argv[i + 1])), Colour(argv[i + 2])});
    const DWORD start = GetTickCount();
    for (;;) {
        const bool last = GetTickCount() - start >= ms;
        if (keep) {
            if (!CheckPixels(checks, tolerance, true))
                return 1;
            if (last)
                return 0;
        } else {
            if (CheckPixels(checks, tolerance, last))
                return 0;
            if (last)
                return 1;
        }
        Sleep(keep ? 50 : 20);
    }
}

// ---- a window with a known picture

COLORREF pictureColours[8];
bool pictureChanged;

void PaintQuadrants(HDC dc, const RECT& r, const COLORREF* colours)
{
    const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    const RECT parts[4] = {{r.left, r.top, midX, midY}, {midX, r.top, r.right, midY},
                           {r.left, midY, midX, r.bottom}, {midX, midY, r.right, r.bottom}};
    for (int i = 0; i < 4; ++i) {
        HBRUSH brush = CreateSolidBrush(colours[i]);
        FillRect(dc, &parts[i], brush);
        DeleteObject(brush);
    }
}

LRESULT CALLBACK PictureProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        RECT client;
        GetClientRect(w, &client);
        PaintQuadrants(dc, client, pictureColours + (pictureChanged ? 4 : 0));
        EndPaint(w, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case kChangePicture:
        pictureChanged = true;
        InvalidateRect(w, nullptr, FALSE);
        UpdateWindow(w);
        GdiFlush();
        return 1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(w, message, wParam, lParam);
}

// Never activated, so that Wine never raises it over the program's windows by itself.
HWND CreatePlainWindow(const char* cls, WNDPROC proc, int x, int y, int w, int h)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = cls;
    RegisterClassA(&wc);
    // Not topmost and without a frame: the picture is exactly the window.
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, cls, cls, WS_POPUP, x, y, w, h, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    if (window) {
        ShowWindow(window, SW_SHOWNOACTIVATE);
        UpdateWindow(window);
    }
    return window;
}

int ShowPicture(int argc, char** argv)
{
    if (argc < 8)
        return 2;
    for (int i = 0; i < 4; ++i)
        pictureColours[i] = pictureColours[i + 4] = Colour(argv[4 + i]);
    for (int i = 0; i < 4 && argc >= 12; ++i)
        pictureColours[i + 4] = Colour(argv[8 + i]);
    if (!CreatePlainWindow(kPictureClass, PictureProc, Number(argv[0]), Number(argv[1]), Number(argv[2]),
                           Number(argv[3])))
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

int ChangePicture()
{
    HWND w = Find(kPictureClass);
    DWORD_PTR answer = 0;
    return w && SendMessageTimeoutA(w, kChangePicture, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) && answer == 1 ? 0 : 1;
}

LRESULT CALLBACK FlashProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        RECT client;
        GetClientRect(w, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        EndPaint(w, &ps);
        return 0;
    }
    return DefWindowProcA(w, message, wParam, lParam);
}

// Whatever lies under the place must draw itself again once the grey window is gone.
int Flash(char** argv)
{
    HWND w = CreatePlainWindow(kFlashClass, FlashProc, Number(argv[0]), Number(argv[1]), Number(argv[2]),
                               Number(argv[3]));
    if (!w)
        return 1;
    // Up until the screen shows it (or a second at most), and a little longer.
    const std::vector<PixelCheck> grey = {{static_cast<int>(Number(argv[0]) + Number(argv[2]) / 2),
                                           static_cast<int>(Number(argv[1]) + Number(argv[3]) / 2), RGB(128, 128, 128)}};
    const DWORD start = GetTickCount();
    DWORD shown = 0;
    MSG msg;
    while (GetTickCount() - start < 1000 && (!shown || GetTickCount() - shown < 100)) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        if (!shown && CheckPixels(grey, 4, false))
            shown = GetTickCount();
        Sleep(10);
    }
    DestroyWindow(w);
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    if (!shown)
        std::fprintf(stderr, "scrivctl: the grey window never showed on the screen\n");
    return shown ? 0 : 1;
}

// ---- the clipboard

// A DIB block of four quadrants. 24-bit rows are padded to four bytes; the 32-bit layout keeps red
// in the lowest byte, so that a reader that ignores the masks shows red and blue swapped.
std::vector<BYTE> QuadrantDib(int bits, int width, int height, const COLORREF* colours, bool topDown)
{
    const bool masks = bits == 32;
    const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    const size_t bitsOffset = sizeof(BITMAPINFOHEADER) + (masks ? 12 : 0);
    std::vector<BYTE> block(bitsOffset + stride * height, 0);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = topDown ? -height : height;
    header->biPlanes = 1;
    header->biBitCount = static_cast<WORD>(bits);
    header->biCompression = masks ? BI_BITFIELDS : BI_RGB;
    header->biSizeImage = static_cast<DWORD>(stride * height);
    if (masks) {
        const DWORD fields[3] = {0x000000FF, 0x0000FF00, 0x00FF0000};  // red, green, blue
        std::memcpy(block.data() + sizeof(BITMAPINFOHEADER), fields, sizeof(fields));
    }
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;  // the picture's row stored at this place
        BYTE* p = block.data() + bitsOffset + stride * row;
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colours[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)];
            if (masks) {
                p[0] = GetRValue(c);
                p[1] = GetGValue(c);
                p[2] = GetBValue(c);
                p[3] = 0;
                p += 4;
            } else {
                p[0] = GetBValue(c);
                p[1] = GetGValue(c);
                p[2] = GetRValue(c);
                p += 3;
            }
        }
    }
    return block;
}

int SetClipboardDib(int argc, char** argv)
{
    if (argc < 7)
        return 2;
    const int bits = Number(argv[0]);
    if (bits != 24 && bits != 32)
        return 2;
    COLORREF colours[4];
    for (int i = 0; i < 4; ++i)
        colours[i] = Colour(argv[3 + i]);
    const bool topDown = argc >= 8 && !std::strcmp(argv[7], "top-down");
    const std::vector<BYTE> dib = QuadrantDib(bits, Number(argv[1]), Number(argv[2]), colours, topDown);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, dib.size());
    if (!memory)
        return 1;
    std::memcpy(GlobalLock(memory), dib.data(), dib.size());
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(memory);
        return 1;
    }
    EmptyClipboard();
    const bool set = SetClipboardData(CF_DIB, memory) != nullptr;
    CloseClipboard();
    if (!set)
        GlobalFree(memory);
    return set ? 0 : 1;
}

int ClearClipboard()
{
    if (!OpenClipboard(nullptr))
        return 1;
    const bool emptied = EmptyClipboard() != FALSE;
    CloseClipboard();
    return emptied && !IsClipboardFormatAvailable(CF_DIB) ? 0 : 1;
}

// ---- keys

bool Extended(WORD vk)
{
    switch (vk) {
    case VK_SNAPSHOT: case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_HOME: case VK_END:
    case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE:
        return true;
    }
    return false;
}

bool SendKey(WORD vk, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (Extended(vk) ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
    return SendInput(1, &input, sizeof(INPUT)) == 1;
}

int Keys(int argc, char** argv)
{
    for (int i = 0; i < argc; ++i) {
        const WORD vk = static_cast<WORD>(Number(argv[i]));
        if (!SendKey(vk, false) || !SendKey(vk, true))
            return 1;
    }
    return 0;
}

// ---- message boxes and hot keys of other programs

HWND FindMessageBox(const char* caption)
{
    return FindWindowA("#32770", caption);
}

int MessageText(const char* caption, DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        HWND box = FindMessageBox(caption);
        if (box && IsWindowVisible(box)) {
            char text[256] = {};
            GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));  // the message box's text control
            std::printf("%s\n", text);
            return 0;
        }
        if (GetTickCount() - start > ms)
            return 1;
        Sleep(20);
    }
}

int AnswerMessage(const char* caption, WPARAM button)
{
    HWND box = FindMessageBox(caption);
    if (!box)
        return 1;
    PostMessageA(box, WM_COMMAND, button, 0);
    for (int i = 0; i < 250 && IsWindow(box); ++i)
        Sleep(20);
    return IsWindow(box) ? 1 : 0;
}

int HoldHotKey(UINT vk, UINT modifiers, DWORD ms)
{
    if (!RegisterHotKey(nullptr, 1, modifiers, vk))
        return 1;
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(ms);
    UnregisterHotKey(nullptr, 1);
    return 0;
}

// ---- controls of other programs' windows

int ControlInfo(const char* cls, int id)
{
    HWND control = GetDlgItem(Find(cls), id);
    RECT r;
    if (!control || !GetWindowRect(control, &r))
        return 1;
    // Asked of the control itself, for the live text in any code page.
    wchar_t wide[256] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, 2000, &length);
    char text[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
    std::printf("%ld %ld %ld %ld %s\n", r.left, r.top, r.right, r.bottom, text);
    return 0;
}

// Another program in the middle of its own clipboard work: nobody else can open it meanwhile.
int HoldClipboard(DWORD ms)
{
    if (!OpenClipboard(nullptr))
        return 1;
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(ms);
    CloseClipboard();
    return 0;
}

// ---- one command

int Run(int argc, char** argv)
{
    if (argc < 1)
        return 2;
    const char* verb = argv[0];
    if (!std::strcmp(verb, "wait-window") && argc >= 2)
        return WaitFor(argv[1], argc >= 3 ? Number(argv[2]) : 10000, true);
    if (!std::strcmp(verb, "wait-gone") && argc >= 2)
        return WaitFor(argv[1], argc >= 3 ? Number(argv[2]) : 10000, false);
    if (!std::strcmp(verb, "wait-visible") && argc >= 2)
        return WaitVisible(argv[1], argc >= 3 ? Number(argv[2]) : 10000);
    if (!std::strcmp(verb, "visible") && argc >= 2) {
        HWND w = Find(argv[1]);
        return w && IsWindowVisible(w) ? 0 : 1;
    }
    if (!std::strcmp(verb, "count") && argc >= 2) {
        CountArgs args = {argv[1], 0};
        EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&args));
        std::printf("%d\n", args.count);
        return 0;
    }
    if (!std::strcmp(verb, "command") && argc >= 3) {
        HWND w = Find(argv[1]);
        return w && PostMessageA(w, WM_COMMAND, Number(argv[2]), 0) ? 0 : 1;
    }
    if (!std::strcmp(verb, "post") && argc >= 5) {
        HWND w = Find(argv[1]);
        return w && PostMessageA(w, Number(argv[2]), Number(argv[3]), Number(argv[4])) ? 0 : 1;
    }
    if (!std::strcmp(verb, "rect") && argc >= 2) {
        HWND w = Find(argv[1]);
        RECT r;
        if (!w || !GetWindowRect(w, &r))
            return 1;
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    if (!std::strcmp(verb, "control") && argc >= 3)
        return ControlInfo(argv[1], Number(argv[2]));
    if (!std::strcmp(verb, "pixel") && argc >= 3) {
        HDC screen = GetDC(nullptr);
        const COLORREF c = GetPixel(screen, Number(argv[1]), Number(argv[2]));
        ReleaseDC(nullptr, screen);
        std::printf("%02X%02X%02X\n", GetRValue(c), GetGValue(c), GetBValue(c));
        return 0;
    }
    if (!std::strcmp(verb, "wait-pixels"))
        return Pixels(false, argc - 1, argv + 1);
    if (!std::strcmp(verb, "keep-pixels"))
        return Pixels(true, argc - 1, argv + 1);
    if (!std::strcmp(verb, "show-picture"))
        return ShowPicture(argc - 1, argv + 1);
    if (!std::strcmp(verb, "change-picture"))
        return ChangePicture();
    if (!std::strcmp(verb, "flash") && argc >= 5)
        return Flash(argv + 1);
    if (!std::strcmp(verb, "set-clipboard-dib"))
        return SetClipboardDib(argc - 1, argv + 1);
    if (!std::strcmp(verb, "clear-clipboard"))
        return ClearClipboard();
    if (!std::strcmp(verb, "key") && argc >= 2)
        return Keys(argc - 1, argv + 1);
    if (!std::strcmp(verb, "key-down") && argc >= 2)
        return SendKey(static_cast<WORD>(Number(argv[1])), false) ? 0 : 1;
    if (!std::strcmp(verb, "key-up") && argc >= 2)
        return SendKey(static_cast<WORD>(Number(argv[1])), true) ? 0 : 1;
    if (!std::strcmp(verb, "message-text") && argc >= 2)
        return MessageText(argv[1], argc >= 3 ? Number(argv[2]) : 5000);
    if (!std::strcmp(verb, "answer-message") && argc >= 3)
        return AnswerMessage(argv[1], Number(argv[2]));
    if (!std::strcmp(verb, "hold-clipboard") && argc >= 2)
        return HoldClipboard(static_cast<DWORD>(Number(argv[1])));
    if (!std::strcmp(verb, "hold-hotkey") && argc >= 4)
        return HoldHotKey(Number(argv[1]), Number(argv[2]), Number(argv[3]));
    std::fprintf(stderr, "scrivctl: unknown command or missing arguments: %s\n", verb);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    // Plain "\n" line ends: the output goes to shell scripts.
    _setmode(_fileno(stdout), _O_BINARY);
    // Commands joined by "+" run one after the other; the first that fails ends the run.
    int first = 1;
    for (int i = 1; i <= argc; ++i) {
        if (i < argc && std::strcmp(argv[i], "+"))
            continue;
        const int result = Run(i - first, argv + first);
        std::fflush(stdout);
        if (result != 0)
            return result;
        first = i + 1;
    }
    return 0;
}
