#include "shell/session_launch.h"

#include "session/paint_window.h"
#include "shell/base/hot_key.h"
#include "shell/launch_rules.h"
#include "shell/base/messages.h"
#include "shell/base/settings.h"
#include "shell/settings_window_state.h"

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

namespace {

// The picture is taken at this moment, and only then does the window cover the desktop.
void CaptureAndShow()
{
    PaintWindowProc(paintWindow, PWM_CAPTURE, 0, 0);
    ShowWindow(paintWindow, SW_SHOWNORMAL);
}

}  // namespace

void StartSession(HWND trayWindow, bool delayAllowed)
{
    if (paintWindow != nullptr)
        return;  // a session runs, or waits for its delay
    UnregisterLaunchHotKey(trayWindow);
    paintWindow = CreatePaintWindow(trayWindow, trayInstance);
    if (paintWindow == nullptr) {
        MessageBoxA(trayWindow, "Failed to create main window", kProgramName, MB_OK | MB_ICONINFORMATION);
        // No session will end to restore stand-by (or, without the tray, to end the program).
        OnSessionEnded(trayWindow);
        return;
    }
    // The user is meanwhile opening the menu or tooltip to be captured, and every program that sends
    // to all top-level windows waits for this thread: the delay is a timer, not a wait. The hidden
    // window stands for the pending session, so launch requests are ignored until it ends.
    if (delayAllowed && (Settings.flags & OPT_DELAYED_LAUNCH) &&
        SetTimer(trayWindow, LAUNCH_TIMER_ID, LaunchDelayMilliseconds(Settings.launchDelay), nullptr))
        return;
    CaptureAndShow();
}

void OnLaunchDelayOver(HWND trayWindow)
{
    KillTimer(trayWindow, LAUNCH_TIMER_ID);
    // Nothing when the pending window went meanwhile, or a later session without delay has shown.
    if (paintWindow != nullptr && !IsWindowVisible(paintWindow))
        CaptureAndShow();
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
