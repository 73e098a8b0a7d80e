// A small Windows helper that end-to-end tests run under Wine beside the program: it finds the
// program's windows, sends them what a user's action would, and reads what the screen shows.
//
//   scrivctl wait-window CLASS [ms]         exit 0 once a window of CLASS exists
//   scrivctl wait-gone CLASS [ms]           exit 0 once no window of CLASS exists
//   scrivctl visible CLASS                  exit 0 if a window of CLASS is visible
//   scrivctl command CLASS ID               post WM_COMMAND ID to it
//   scrivctl post CLASS MSG WPARAM LPARAM   post any message
//   scrivctl rect CLASS                     print "left top right bottom" of its window rectangle
//   scrivctl pixel X Y                      print the screen pixel as RRGGBB
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND Find(const char* cls)
{
    return FindWindowA(cls, nullptr);
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

long Number(const char* text)
{
    return std::strtol(text, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const char* verb = argv[1];
    if (!std::strcmp(verb, "wait-window") && argc >= 3)
        return WaitFor(argv[2], argc >= 4 ? Number(argv[3]) : 10000, true);
    if (!std::strcmp(verb, "wait-gone") && argc >= 3)
        return WaitFor(argv[2], argc >= 4 ? Number(argv[3]) : 10000, false);
    if (!std::strcmp(verb, "visible") && argc >= 3) {
        HWND w = Find(argv[2]);
        return w && IsWindowVisible(w) ? 0 : 1;
    }
    if (!std::strcmp(verb, "command") && argc >= 4) {
        HWND w = Find(argv[2]);
        return w && PostMessageA(w, WM_COMMAND, Number(argv[3]), 0) ? 0 : 1;
    }
    if (!std::strcmp(verb, "post") && argc >= 6) {
        HWND w = Find(argv[2]);
        return w && PostMessageA(w, Number(argv[3]), Number(argv[4]), Number(argv[5])) ? 0 : 1;
    }
    if (!std::strcmp(verb, "rect") && argc >= 3) {
        HWND w = Find(argv[2]);
        RECT r;
        if (!w || !GetWindowRect(w, &r))
            return 1;
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    if (!std::strcmp(verb, "pixel") && argc >= 4) {
        HDC screen = GetDC(nullptr);
        const COLORREF c = GetPixel(screen, Number(argv[2]), Number(argv[3]));
        ReleaseDC(nullptr, screen);
        std::printf("%02X%02X%02X\n", GetRValue(c), GetGValue(c), GetBValue(c));
        return 0;
    }
    std::fprintf(stderr, "scrivctl: unknown command\n");
    return 2;
}
