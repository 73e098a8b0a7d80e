#include "shell/tray_icon.h"

#include "resources/resource.h"
#include "shell/base/messages.h"
#include "shell/base/monitor.h"
#include "shell/base/platform.h"
#include "shell/launch_rules.h"
#include "shell/settings_window_state.h"

bool trayIconAdded;
HMENU trayMenu;
NOTIFYICONDATAA notifyIcon;

namespace {

bool NotifyShell(DWORD what)
{
    return Shell_NotifyIconA(what, &notifyIcon) != FALSE;
}

void ShowTrayMenu(HWND window)
{
    const PointerMonitor at = MonitorUnderPointer();
    // Without being foreground first, the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(window);
    SetFocus(window);
    const UINT align = TrayMenuAlignment(at.pointer, at.area);
    TrackPopupMenu(GetSubMenu(trayMenu, 0), align, at.pointer.x, at.pointer.y, 0, window, nullptr);
    PostMessageA(window, WM_NULL, 0, 0);
    ReleaseCapture();
}

}  // namespace

void AddTrayIcon(HWND window)
{
    if (trayMenu == nullptr)
        trayMenu = LoadMenuA(programInstance, MAKEINTRESOURCEA(IDM_TRAY));
    notifyIcon = NOTIFYICONDATAA{};
    notifyIcon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    notifyIcon.hWnd = window;
    notifyIcon.uID = TRAY_ICON_ID;
    notifyIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    notifyIcon.uCallbackMessage = TWM_TRAY_NOTIFY;
    notifyIcon.hIcon =
        static_cast<HICON>(LoadImageA(programInstance, MAKEINTRESOURCEA(IDI_APP_SMALL), IMAGE_ICON, 0, 0, LR_SHARED));
    lstrcpynA(notifyIcon.szTip, kProgramName, sizeof(notifyIcon.szTip));
    trayIconAdded = NotifyShell(NIM_ADD);
}

void RemoveTrayIcon()
{
    if (trayIconAdded)
        NotifyShell(NIM_DELETE);
    trayIconAdded = false;
    if (trayMenu)
        DestroyMenu(trayMenu);
    trayMenu = nullptr;
}

void OnTrayNotify(HWND window, UINT mouseMessage)
{
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: SetCapture(window); break;
    case WM_LBUTTONUP:
        PostMessageA(window, TWM_LAUNCH, 0, 1);
        ReleaseCapture();
        break;
    case WM_RBUTTONUP: ShowTrayMenu(window); break;
    }
}

// If the icon survived after all, adding it again fails and it is only refreshed, so that Exit still
// removes it.
void OnTaskbarCreated(HWND window)
{
    if (!trayMode)
        return;
    AddTrayIcon(window);
    if (!trayIconAdded)
        trayIconAdded = NotifyShell(NIM_MODIFY);
}
