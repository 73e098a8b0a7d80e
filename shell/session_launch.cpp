#include "shell/session_launch.h"

#include "session/paint_window.h"
#include "shell/launch_rules.h"
#include "shell/messages.h"
#include "shell/monitor.h"
#include "shell/settings.h"
#include "shell/tray_state.h"

namespace {

void SleepFor(DWORD milliseconds)
{
    Sleep(milliseconds);
}

void (*waitLaunchDelay)(DWORD) = SleepFor;

void RegisterPaintClass()
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    // Double-clicks arrive as their own messages; no class cursor or background, so the window's
    // own cursor stays and nothing is erased before painting.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = PaintWindowProc;
    wc.hInstance = trayInstance;
    wc.lpszClassName = kPaintClassName;
    RegisterClassExA(&wc);  // fails harmlessly from the second session on: the class exists
}

}  // namespace

void SetLaunchDelayWait(void (*wait)(DWORD))
{
    waitLaunchDelay = wait ? wait : SleepFor;
}

void RegisterLaunchHotKey(HWND trayWindow)
{
    // Registering again over our own registration would fail and read as "taken by another program".
    UnregisterLaunchHotKey(trayWindow);
    hotKeyRegistered = RegisterHotKey(trayWindow, HOTKEY_ID, HotKeyModifiers(Settings.launchHotKey),
                                      Settings.launchHotKey & 0xFF) != FALSE;
}

void UnregisterLaunchHotKey(HWND trayWindow)
{
    if (!hotKeyRegistered)
        return;
    UnregisterHotKey(trayWindow, HOTKEY_ID);
    hotKeyRegistered = false;
}

void StartSession(HWND trayWindow, bool delayAllowed)
{
    if (paintWindow != nullptr)
        return;
    UnregisterLaunchHotKey(trayWindow);
    const int x = MonitorMetric(SM_XVIRTUALSCREEN);
    const int y = MonitorMetric(SM_YVIRTUALSCREEN);
    const int width = MonitorMetric(SM_CXVIRTUALSCREEN);
    const int height = MonitorMetric(SM_CYVIRTUALSCREEN);
    RegisterPaintClass();
    paintWindow = CreateWindowExA(WS_EX_TOPMOST, kPaintClassName, kProgramName, WS_POPUP, x, y, width, height,
                                  trayWindow, nullptr, trayInstance, nullptr);
    if (paintWindow == nullptr) {
        MessageBoxA(trayWindow, "Failed to create main window", kProgramName, MB_OK | MB_ICONINFORMATION);
        // No session will end to restore stand-by (or, without the tray, to end the program).
        OnSessionEnded(trayWindow);
        return;
    }
    if (delayAllowed && (Settings.flags & OPT_DELAYED_LAUNCH))
        waitLaunchDelay(LaunchDelayMilliseconds(Settings.launchDelay));
    PaintWindowProc(paintWindow, PWM_CAPTURE, 0, 0);
    ShowWindow(paintWindow, SW_SHOWNORMAL);
}

void OnSessionEnded(HWND trayWindow)
{
    paintWindow = nullptr;
    if (!trayMode) {
        DestroyWindow(trayWindow);
        return;
    }
    // While the options are open the key stays free for the hot-key control.
    if ((Settings.flags & OPT_HOTKEY) && !(GetWindowLongA(trayWindow, GWL_STYLE) & WS_VISIBLE))
        RegisterLaunchHotKey(trayWindow);
}
