#include "shell/settings_window.h"

#include "render/dialog_placement.h"
#include "resources/resource.h"
#include "shell/base/messages.h"
#include "shell/base/monitor.h"
#include "shell/base/platform.h"
#include "shell/base/settings.h"
#include "shell/exe_path.h"
#include "shell/hook_module.h"
#include "shell/option_controls.h"
#include "shell/session_launch.h"
#include "shell/settings_file.h"
#include "shell/settings_window_state.h"
#include "shell/tray_icon.h"

bool trayMode;
HINSTANCE programInstance;
HWND paintWindow;
bool hotKeyRegistered;

namespace {

constexpr DWORD kSettingsWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

// Sent to every top-level window when the shell (and its notification area) starts again.
UINT taskbarCreatedMessage;

LRESULT OnCreate(HWND window, const CREATESTRUCTA* create)
{
    programInstance = create->hInstance;
    FillExePath();
    LoadSettings();
    trayMode = (Settings.flags & OPT_TASKTRAY) != 0;
    if (!trayMode) {
        PostMessageA(window, TWM_LAUNCH, 0, 1);
        return 0;
    }
    AddTrayIcon(window);
    BuildOptionControls(window, programInstance);
    if (Settings.flags & OPT_HOTKEY)
        RegisterLaunchHotKey(window);
    if (Settings.flags & OPT_MOUSE_HOOK)
        StartMouseHook(window);
    return 0;
}

// Tray mode: back to stand-by. Without the tray: offer to end the program.
void OnClose(HWND window)
{
    if (!(Settings.flags & OPT_TASKTRAY)) {
        if (ShowProgramMessage(window, IDS_NON_TRAY_NOTICE, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK)
            DestroyWindow(window);
        return;
    }
    if (Settings.flags & OPT_HOTKEY) {
        RegisterLaunchHotKey(window);
        if (!hotKeyRegistered &&
            ShowProgramMessage(window, IDS_HOTKEY_FAILED, MB_OKCANCEL | MB_ICONWARNING) == IDCANCEL)
            return;  // stay open so that another key can be chosen
    }
    if (Settings.flags & OPT_MOUSE_HOOK)
        StartMouseHook(window);
    ShowWindow(window, SW_HIDE);
}

void OnDestroy(HWND window)
{
    SaveSettings();
    UnregisterLaunchHotKey(window);
    RemoveTrayIcon();
    PostQuitMessage(0);
}

// "Config": the options near the pointer, with the caption under it, laid out for that monitor's
// scaling and kept 10 pixels inside its work area.
void OnConfig(HWND window)
{
    // Off while the options are open: the mouse hook, and the hot key, so that the hot-key control
    // can receive that very key.
    StopMouseHook();
    UnregisterLaunchHotKey(window);
    const PointerMonitor m = MonitorUnderPointer();
    const UINT dpi = Platform.monitorDpi(m.monitor);
    ScaleOptionControls(window, dpi);
    // The sizes the window has once it is on that monitor, rather than where it stands hidden now.
    POINT outer, client;
    OptionsWindowSize(window, dpi, outer, client);
    const POINT at = PlaceTitleUnderPointer(m.pointer, outer, client, m.work);
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(window, SW_SHOWNORMAL);
}

void OnCommand(HWND window, WORD id, WORD code)
{
    switch (id) {
    case IDM_CONFIG: OnConfig(window); return;
    case IDM_EXIT: DestroyWindow(window); return;
    default: OnOptionCommand(window, id, code); return;
    }
}

// Dragged onto a monitor scaled otherwise: the system suggests the place and size. The move that
// "Config" makes has laid the options out for their monitor already.
void OnDpiChanged(HWND window, UINT dpi, const RECT& suggested)
{
    if (dpi == OptionControlsDpi())
        return;
    ScaleOptionControls(window, dpi);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The module asks about every press; only a right press with the middle button held starts a session.
LRESULT OnHookEvent(HWND window, WPARAM wParam)
{
    const UINT mouseMessage = LOWORD(wParam);
    if ((mouseMessage == WM_RBUTTONDOWN || mouseMessage == WM_NCRBUTTONDOWN) &&
        (Platform.getAsyncKeyState(VK_MBUTTON) & 0x8000)) {
        PostMessageA(window, TWM_LAUNCH, 0, 0);
        return 1;
    }
    return 0;
}

}  // namespace

LRESULT CALLBACK SettingsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_CLOSE: OnClose(window); return 0;
    case WM_DESTROY: OnDestroy(window); return 0;
    case WM_NCDESTROY: ReleaseOptionControls(); break;
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_DPICHANGED: OnDpiChanged(window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_HOTKEY: PostMessageA(window, TWM_LAUNCH, 0, 0); return 0;
    case TWM_TRAY_NOTIFY: OnTrayNotify(window, static_cast<UINT>(lParam)); return 0;
    case TWM_LAUNCH: StartSession(window, lParam != 0); return 0;
    case WM_TIMER:
        if (wParam == LAUNCH_TIMER_ID)
            OnLaunchDelayOver(window);
        return 0;
    case TWM_SESSION_ENDED: OnSessionEnded(window); return 0;
    case TWM_HOOK_EVENT: return OnHookEvent(window, wParam);
    }
    if (message == taskbarCreatedMessage && message != 0) {
        OnTaskbarCreated(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateSettingsWindow(HINSTANCE instance)
{
    // Before the window's first message, which may already arm the hook.
    LoadHookModule();
    taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = 0;
    wc.lpfnWndProc = SettingsWindowProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP_LARGE), IMAGE_ICON, 0, 0, LR_SHARED));
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP_SMALL), IMAGE_ICON, 0, 0, LR_SHARED));
    wc.hCursor = static_cast<HCURSOR>(LoadImageA(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, 0, LR_SHARED));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kSettingsClassName;
    RegisterClassExA(&wc);

    RECT outer = {0, 0, kOptionsClientWidth, kOptionsClientHeight};
    AdjustWindowRectEx(&outer, kSettingsWindowStyle, FALSE, 0);
    return CreateWindowExA(0, kSettingsClassName, kProgramName, kSettingsWindowStyle, CW_USEDEFAULT, 0,
                           outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
}
