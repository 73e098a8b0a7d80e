// A broken mouse-hook module for the program's tests: it exports Capture but no Release. Its hook
// works, reporting every button press as Scrivane.dll does, so a program that used it anyway would
// start sessions from it, while one that refuses it shows no trace of it. Nothing could ever remove
// this hook, which is why the program must not use such a module at all.
#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

HHOOK mouseHook;
HWND reportWindow;
UINT reportMessage;

LRESULT CALLBACK OnLowLevelMouse(int code, WPARAM message, LPARAM lParam)
{
    if (code == HC_ACTION && (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN ||
                              message == WM_MBUTTONDOWN || message == WM_XBUTTONDOWN)) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(reportWindow, reportMessage, message, 0, SMTO_ABORTIFHUNG, 200, &answer);
    }
    return CallNextHookEx(mouseHook, code, message, lParam);
}

} // namespace

extern "C" __declspec(dllexport) BOOL WINAPI Capture(HWND window, UINT message)
{
    reportWindow = window;
    reportMessage = message;
    if (!mouseHook)
        mouseHook = SetWindowsHookExW(WH_MOUSE_LL, OnLowLevelMouse, reinterpret_cast<HINSTANCE>(&__ImageBase), 0);
    return mouseHook != nullptr;
}
