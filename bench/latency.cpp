// What the user sees: real input injected with SendInput, each step timed until the screen pixel under
// the new point changes (GetPixel on the screen, polled here, in the measuring process only). The same
// steps run against a reference window that does the least GDI work of each event and waits for input
// with a blocking wait, and against the program in a session of its own, each twice, in turns.
//
//   bench_latency PATH\Scrivane.exe   measures both and prints the table (the settings file beside the
//                                     program must start a session at once, with a red pen 5 wide)
//   bench_latency reference           the reference window (started by the measuring run itself)
//   bench_latency exit                the Exit command to a program waiting in the tray
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kInk = RGB(255, 0, 0);
constexpr int kPenWidth = 5, kZoom = 6, kStep = 12;
constexpr double kGiveUpMs = 500;
constexpr char kReferenceClass[] = "LATENCY_REFERENCE", kBackgroundClass[] = "LATENCY_BACKGROUND";
int W, H;

double Now()
{
    static const double perMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perMs;
}

// A picture whose every column and row differs from its neighbours, and never the ink: a step of the
// pen and a shift of the magnified view both change the pixel under the pointer.
COLORREF GradientAt(int x, int y)
{
    return RGB(x & 255, y & 255, 64 + ((x >> 8) & 15) * 8 + ((y >> 8) & 7));
}

HDC GradientSurface(HBITMAP& bitmap)
{
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), W, -H, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* p = static_cast<DWORD*>(bits);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x, ++p) {
            const COLORREF c = GradientAt(x, y);
            *p = DWORD(GetBValue(c)) | DWORD(GetGValue(c)) << 8 | DWORD(GetRValue(c)) << 16;
        }
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    return dc;
}

// ---- The reference window: the line and two copies of the stroke's rectangle per pen step; one
// full-area StretchBlt and one full-area copy per magnified move. Blocks in GetMessage.
HDC drawing, view, windowDC;
RECT stroke;
bool magnified;

void Copy(HDC to, HDC from, const RECT& r)
{
    BitBlt(to, r.left, r.top, r.right - r.left, r.bottom - r.top, from, r.left, r.top, SRCCOPY);
}

void PresentStroke(POINT p)
{
    const RECT dot = {p.x - kPenWidth, p.y - kPenWidth, p.x + kPenWidth + 1, p.y + kPenWidth + 1};
    UnionRect(&stroke, &stroke, &dot);
    Copy(view, drawing, stroke);
    Copy(windowDC, view, stroke);
}

void PresentMagnified(POINT p)
{
    StretchBlt(view, 0, 0, W, H, drawing, p.x - p.x / kZoom, p.y - p.y / kZoom, W / kZoom, H / kZoom, SRCCOPY);
    Copy(windowDC, view, RECT{0, 0, W, H});
}

LRESULT CALLBACK ReferenceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
    case WM_LBUTTONDOWN:
        stroke = RECT{p.x, p.y, p.x, p.y};
        MoveToEx(drawing, p.x, p.y, nullptr);
        LineTo(drawing, p.x, p.y);
        PresentStroke(p);
        return 0;
    case WM_MOUSEMOVE:
        if (wParam & MK_LBUTTON) {
            LineTo(drawing, p.x, p.y);
            PresentStroke(p);
        } else if (magnified) {
            PresentMagnified(p);
        }
        return 0;
    case WM_MOUSEWHEEL:  // lParam in screen coordinates, which are the window's
        magnified = static_cast<short>(HIWORD(wParam)) > 0;
        if (magnified)
            PresentMagnified(p);
        return 0;
    case WM_KEYUP:
        if (wParam == VK_ESCAPE)
            DestroyWindow(window);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        Copy(ps.hdc, view, ps.rcPaint);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int RunReference()
{
    HBITMAP a, b;
    drawing = GradientSurface(a);
    view = GradientSurface(b);
    SelectObject(drawing, CreatePen(PS_SOLID, kPenWidth, kInk));
    WNDCLASSA wc = {CS_OWNDC, ReferenceProc, 0, 0, GetModuleHandleA(nullptr), nullptr, LoadCursor(nullptr, IDC_ARROW),
                    nullptr, nullptr, kReferenceClass};
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, kReferenceClass, "reference", WS_POPUP | WS_VISIBLE, 0, 0, W, H,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    windowDC = GetDC(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

// ---- The measuring run.
HDC screen;

void Inject(DWORD flags, int x = 0, int y = 0, DWORD data = 0)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(x, 65535, W - 1);
    in.mi.dy = MulDiv(y, 65535, H - 1);
    in.mi.mouseData = data;
    in.mi.dwFlags = flags | (flags & MOUSEEVENTF_MOVE ? MOUSEEVENTF_ABSOLUTE : 0);
    SendInput(1, &in, sizeof(in));
}

void Key(WORD vk)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

// Milliseconds from the move to (x, y) to the change of the pixel under the pointer; negative when the
// pixel already shows the ink (a stroke crossing an earlier one cannot be seen there).
double TimedMove(int x, int y, DWORD buttons)
{
    const COLORREF before = GetPixel(screen, x, y);
    if (before == kInk)
        return Inject(MOUSEEVENTF_MOVE | buttons, x, y), -1;
    const double start = Now();
    Inject(MOUSEEVENTF_MOVE | buttons, x, y);
    while (GetPixel(screen, x, y) == before && Now() - start < kGiveUpMs) {
    }
    return Now() - start;
}

struct Figures {
    double median, p90, max;
    size_t n, givenUp;
};

Figures Summary(std::vector<double> ms)
{
    ms.erase(std::remove_if(ms.begin(), ms.end(), [](double t) { return t < 0; }), ms.end());
    if (ms.empty())
        return {0, 0, 0, 0, 0};
    std::sort(ms.begin(), ms.end());
    const size_t givenUp = size_t(std::count_if(ms.begin(), ms.end(), [](double t) { return t >= kGiveUpMs; }));
    return {ms[ms.size() / 2], ms[ms.size() * 9 / 10], ms.back(), ms.size(), givenUp};
}

using Samples = std::vector<std::vector<double>>;  // per kind of step, milliseconds

// The three kinds of step, on whatever window covers the screen now; the samples are added.
void MeasureSteps(Samples& samples)
{
    std::vector<double>&across = samples[0], &diagonal = samples[1], &zoomed = samples[2];
    for (int row = 1; row <= 3; ++row) {  // left to right along three rows
        const int y = H * row / 4;
        Inject(MOUSEEVENTF_MOVE, 40, y);
        Inject(MOUSEEVENTF_LEFTDOWN);
        Sleep(30);
        for (int x = 40 + kStep; x < W - 40; x += kStep)
            across.push_back(TimedMove(x, y, 0));
        Inject(MOUSEEVENTF_LEFTUP);
        Sleep(30);
    }
    const int steps = std::max(W, H) / kStep;  // corner to corner: the presented rectangle grows to the screen
    Inject(MOUSEEVENTF_MOVE, 30, 30);
    Inject(MOUSEEVENTF_LEFTDOWN);
    Sleep(30);
    for (int i = 1; i <= steps; ++i)
        diagonal.push_back(TimedMove(30 + (W - 60) * i / steps, 30 + (H - 60) * i / steps, 0));
    Inject(MOUSEEVENTF_LEFTUP);
    Sleep(30);
    const int y = H / 2 + 37;  // off the rows drawn across
    Inject(MOUSEEVENTF_MOVE, W / 4, y);
    for (int notch = 0; notch < kZoom - 1; ++notch)
        Inject(MOUSEEVENTF_WHEEL, 0, 0, WHEEL_DELTA);
    Sleep(300);
    for (int x = W / 4 + kStep; x < W * 3 / 4; x += kStep)
        zoomed.push_back(TimedMove(x, y, 0));
}

// Starts a program, waits until its window of `windowClass` shows, measures, ends it with Escape.
bool Measure(const std::string& commandLine, const std::string& folder, const char* windowClass, Samples& samples)
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.empty() ? nullptr : folder.c_str(),
                        &si, &pi))
        return false;
    HWND window = nullptr;
    for (int i = 0; i < 300 && !(window && IsWindowVisible(window)); ++i, Sleep(50))
        window = FindWindowA(windowClass, nullptr);
    bool shown = window && IsWindowVisible(window);
    if (shown) {
        Sleep(1000);  // the first frame on the screen, and Wine's start-up work done
        MeasureSteps(samples);
        Key(VK_ESCAPE);
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        shown = false;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return shown;
}

LRESULT CALLBACK BackgroundProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    static HBITMAP bitmap;
    static HDC picture = GradientSurface(bitmap);
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        Copy(ps.hdc, picture, ps.rcPaint);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The desktop the program freezes: the gradient, kept painted by a thread of its own.
DWORD WINAPI RunBackground(LPVOID)
{
    WNDCLASSA wc = {0, BackgroundProc, 0, 0, GetModuleHandleA(nullptr), nullptr, LoadCursor(nullptr, IDC_ARROW),
                    nullptr, nullptr, kBackgroundClass};
    RegisterClassA(&wc);
    CreateWindowExA(0, kBackgroundClass, "", WS_POPUP | WS_VISIBLE, 0, 0, W, H, nullptr, nullptr, wc.hInstance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}

void PrintRow(const char* what, const Figures& ref, const Figures& prog)
{
    std::printf("| %s | %.2f / %.2f / %.2f | %.2f / %.2f / %.2f | %.2f | %zu (%zu and %zu given up after %.0f ms) |\n",
                what, ref.median, ref.p90, ref.max, prog.median, prog.p90, prog.max,
                ref.median > 0 ? prog.median / ref.median : 0.0, prog.n, ref.givenUp, prog.givenUp, kGiveUpMs);
}

int RunMeasure(const char* program)
{
    screen = GetDC(nullptr);
    CreateThread(nullptr, 0, RunBackground, nullptr, 0, nullptr);
    for (int i = 0; i < 500 && GetPixel(screen, W / 2, H / 2) != GradientAt(W / 2, H / 2); ++i)
        Sleep(10);
    Sleep(500);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string folder = program;
    folder.erase(folder.find_last_of('\\') + 1);
    // Taken in turns, so that a load that comes and goes on the machine weighs on both alike.
    Samples ref(3), prog(3);
    for (int round = 0; round < 2; ++round)
        if (!Measure(std::string("\"") + self + "\" reference", "", kReferenceClass, ref) ||
            !Measure(std::string("\"") + program + "\"", folder, "SCRIVANE_MAIN", prog)) {
            std::printf("the reference or the program did not show\n");
            return 1;
        }
    std::printf("| %dx%d, ms | reference median / p90 / max | Scrivane median / p90 / max | ratio of medians | steps |\n"
                "|---|---|---|---|---|\n", W, H);
    const char* kinds[] = {"pen step across", "pen step, diagonal over the screen", "magnified move (6x)"};
    for (size_t i = 0; i < 3; ++i)
        PrintRow(kinds[i], Summary(ref[i]), Summary(prog[i]));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    W = GetSystemMetrics(SM_CXSCREEN);
    H = GetSystemMetrics(SM_CYSCREEN);
    if (argc == 2 && std::strcmp(argv[1], "reference") == 0)
        return RunReference();
    if (argc == 2 && std::strcmp(argv[1], "exit") == 0)
        return PostMessageA(FindWindowA("SCRIVANE_TRAY", nullptr), WM_COMMAND, 32772, 0) ? 0 : 1;
    if (argc == 2)
        return RunMeasure(argv[1]);
    std::fprintf(stderr, "usage: bench_latency PATH\\Scrivane.exe | reference | exit\n");
    return 2;
}
