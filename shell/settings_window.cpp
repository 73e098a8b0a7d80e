#include "shell/tray_window.h"

#include "resources/resource.h"
#include "shell/exe_path.h"
#include "shell/hook_module.h"
#include "shell/launch_rules.h"
#include "shell/messages.h"
#include "shell/monitor.h"
#include "shell/session_launch.h"
#include "shell/settings.h"
#include "shell/settings_file.h"
#include "shell/tray_state.h"

bool trayMode;
HINSTANCE trayInstance;
HWND paintWindow;
bool hotKeyRegistered;
bool trayIconAdded;
HMENU trayMenu;
NOTIFYICONDATAA notifyIcon;

namespace {

constexpr DWORD kTrayWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr int kClientWidth = 300;
constexpr int kClientHeight = 190;

// Sent to every top-level window when the shell (and its notification area) starts again.
UINT taskbarCreatedMessage;

void AddTrayIcon(HWND window)
{
    notifyIcon = NOTIFYICONDATAA{};
    notifyIcon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    notifyIcon.hWnd = window;
    notifyIcon.uID = TRAY_ICON_ID;
    notifyIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    notifyIcon.uCallbackMessage = TWM_TRAY_NOTIFY;
    notifyIcon.hIcon = static_cast<HICON>(
        LoadImageA(trayInstance, MAKEINTRESOURCEA(IDI_APP_SMALL), IMAGE_ICON, 0, 0, LR_SHARED));
    lstrcpynA(notifyIcon.szTip, kProgramName, sizeof(notifyIcon.szTip));
    trayIconAdded = Shell_NotifyIconA(NIM_ADD, &notifyIcon) != FALSE;
}

void ShowMessage(HWND owner, UINT stringId, UINT buttonsAndIcon, int* answer)
{
    char text[80] = {};
    LoadStringA(trayInstance, stringId, text, sizeof(text));
    *answer = MessageBoxA(owner, text, kProgramName, buttonsAndIcon);
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA* create)
{
    trayInstance = create->hInstance;
    FillExePath();
    LoadSettings();
    trayMode = (Settings.flags & OPT_TASKTRAY) != 0;
    if (!trayMode) {
        PostMessageA(window, TWM_LAUNCH, 0, 1);
        return 0;
    }
    trayMenu = LoadMenuA(trayInstance, MAKEINTRESOURCEA(IDM_TRAY));
    AddTrayIcon(window);
    if (Settings.flags & OPT_HOTKEY)
        RegisterLaunchHotKey(window);
    if (Settings.flags & OPT_MOUSE_HOOK)
        HookCapture(window);
    return 0;
}

// Tray mode: back to stand-by. Without the tray: offer to end the program.
void OnClose(HWND window)
{
    int answer = 0;
    if (!(Settings.flags & OPT_TASKTRAY)) {
        ShowMessage(window, IDS_NON_TRAY_NOTICE, MB_OKCANCEL | MB_ICONINFORMATION, &answer);
        if (answer == IDOK)
            DestroyWindow(window);
        return;
    }
    if (Settings.flags & OPT_HOTKEY) {
        RegisterLaunchHotKey(window);
        if (!hotKeyRegistered) {
            ShowMessage(window, IDS_HOTKEY_FAILED, MB_OKCANCEL | MB_ICONWARNING, &answer);
            if (answer == IDCANCEL)
                return;  // stay open so that another key can be chosen
        }
    }
    if (Settings.flags & OPT_MOUSE_HOOK)
        HookCapture(window);
    ShowWindow(window, SW_HIDE);
}

void OnDestroy(HWND window)
{
    SaveSettings();
    UnregisterLaunchHotKey(window);
    if (trayIconAdded)
        Shell_NotifyIconA(NIM_DELETE, &notifyIcon);
    trayIconAdded = false;
    if (trayMenu)
        DestroyMenu(trayMenu);
    trayMenu = nullptr;
    PostQuitMessage(0);
}

void OnCommand(HWND window, WORD id)
{
    if (id == IDM_EXIT)
        DestroyWindow(window);
}

void ShowTrayMenu(HWND window)
{
    POINT p;
    GetCursorPos(&p);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    MonitorInfo(MonitorNearestPoint(p), &info);
    // Without being foreground first, the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(window);
    SetFocus(window);
    const UINT align = TrayMenuAlignment(p, info.rcMonitor);
    TrackPopupMenu(GetSubMenu(trayMenu, 0), align, p.x, p.y, 0, window, nullptr);
    PostMessageA(window, WM_NULL, 0, 0);
    ReleaseCapture();
}

void OnTrayNotify(HWND window, UINT mouseMessage)
{
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        SetCapture(window);
        break;
    case WM_LBUTTONUP:
        PostMessageA(window, TWM_LAUNCH, 0, 1);
        ReleaseCapture();
        break;
    case WM_RBUTTONUP:
        ShowTrayMenu(window);
        break;
    }
}

// The module asks about every press; only a right press with the middle button held starts a session.
LRESULT OnHookEvent(HWND window, WPARAM wParam)
{
    const UINT mouseMessage = LOWORD(wParam);
    if ((mouseMessage == WM_RBUTTONDOWN || mouseMessage == WM_NCRBUTTONDOWN) && (GetAsyncKeyState(VK_MBUTTON) & 0x8000)) {
        PostMessageA(window, TWM_LAUNCH, 0, 0);
        return 1;
    }
    return 0;
}

// A restarted shell has forgotten every icon. If this one survived after all, adding it again fails
// and the icon is only refreshed.
void OnTaskbarCreated(HWND window)
{
    if (!trayMode)
        return;
    AddTrayIcon(window);
    if (!trayIconAdded)
        trayIconAdded = Shell_NotifyIconA(NIM_MODIFY, &notifyIcon) != FALSE;
}

}  // namespace

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LoadHookModule();
    switch (message) {
    case WM_CREATE: return OnCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_CLOSE: OnClose(window); return 0;
    case WM_DESTROY: OnDestroy(window); return 0;
    case WM_COMMAND: OnCommand(window, LOWORD(wParam)); return 0;
    case WM_HOTKEY: PostMessageA(window, TWM_LAUNCH, 0, 0); return 0;
    case TWM_TRAY_NOTIFY: OnTrayNotify(window, static_cast<UINT>(lParam)); return 0;
    case TWM_LAUNCH: StartSession(window, lParam != 0); return 0;
    case TWM_SESSION_ENDED: OnSessionEnded(window); return 0;
    case TWM_HOOK_EVENT: return OnHookEvent(window, wParam);
    }
    if (message == taskbarCreatedMessage && message != 0) {
        OnTaskbarCreated(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateTrayWindow(HINSTANCE instance)
{
    taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");

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
