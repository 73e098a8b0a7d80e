#include "shell/tray_window.h"

#include "resources/resource.h"
#include "shell/exe_path.h"
#include "shell/messages.h"
#include "shell/settings_file.h"

namespace {

constexpr DWORD kTrayWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr int kClientWidth = 300;
constexpr int kClientHeight = 190;

HINSTANCE instance;

LRESULT OnCreate(HWND window, const CREATESTRUCTA* create)
{
    (void)window;
    instance = create->hInstance;
    FillExePath();
    LoadSettings();
    return 0;
}

void OnCommand(HWND window, WORD id)
{
    switch (id) {
    case IDM_EXIT:
        DestroyWindow(window);
        break;
    }
}

void OnDestroy()
{
    SaveSettings();
    PostQuitMessage(0);
}

}  // namespace

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_COMMAND: OnCommand(window, LOWORD(wParam)); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateTrayWindow(HINSTANCE instance)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = 0;
    wc.lpfnWndProc = TrayWindowProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP_LARGE), IMAGE_ICON, 0, 0, LR_SHARED));
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP_SMALL), IMAGE_ICON, 0, 0, LR_SHARED));
    wc.hCursor = static_cast<HCURSOR>(LoadImageA(nullptr, MAKEINTRESOURCEA(32512), IMAGE_CURSOR, 0, 0, LR_SHARED));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kTrayClassName;
    RegisterClassExA(&wc);

    RECT outer = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&outer, kTrayWindowStyle, FALSE, 0);
    return CreateWindowExA(0, kTrayClassName, kProgramName, kTrayWindowStyle, CW_USEDEFAULT, 0, outer.right - outer.left,
                           outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
}
