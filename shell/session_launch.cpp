#include "shell/session_launch.h"

#include "resources/resource.h"
#include "session/paint_window.h"
#include "shell/base/hot_key.h"
#include "shell/base/messages.h"
#include "shell/base/settings.h"
#include "shell/launch_rules.h"
#include "shell/settings_window_state.h"

int ShowProgramMessage(HWND owner, UINT stringId, UINT buttonsAndIcon)
{
    char text[80] = {};
    LoadStringA(programInstance, stringId, text, sizeof(text));
    return MessageBoxA(owner, text, kProgramName, buttonsAndIcon);
}

void RegisterLaunchHotKey(HWND settingsWindow)
{
    // Registering again over our own registration would fail and read as "taken by another program".
    UnregisterLaunchHotKey(settingsWindow);
    hotKeyRegistered = RegisterHotKey(settingsWindow, HOTKEY_ID, HotKeyModifiers(Settings.launchHotKey),
                                      Settings.launchHotKey & 0xFF) != FALSE;
}

void UnregisterLaunchHotKey(HWND settingsWindow)
{
    if (!hotKeyRegistered)
        return;
    UnregisterHotKey(settingsWindow, HOTKEY_ID);
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

void StartSession(HWND settingsWindow, bool delayAllowed)
{
    if (paintWindow != nullptr)
        return;  // a session runs, or waits for its delay
    UnregisterLaunchHotKey(settingsWindow);
    paintWindow = CreatePaintWindow(settingsWindow, programInstance);
    if (paintWindow == nullptr) {
        ShowProgramMessage(settingsWindow, IDS_CREATE_FAILED, MB_OK | MB_ICONINFORMATION);
        // No session will end to restore stand-by (or, without the tray, to end the program).
        OnSessionEnded(settingsWindow);
        return;
    }
    // The user is meanwhile opening the menu or tooltip to be captured, and every program that sends
    // to all top-level windows waits for this thread: the delay is a timer, not a wait. The hidden
    // window stands for the pending session, so launch requests are ignored until it ends.
    if (delayAllowed && (Settings.flags & OPT_DELAYED_LAUNCH) &&
        SetTimer(settingsWindow, LAUNCH_TIMER_ID, LaunchDelayMilliseconds(Settings.launchDelay), nullptr))
        return;
    CaptureAndShow();
}

void OnLaunchDelayOver(HWND settingsWindow)
{
    KillTimer(settingsWindow, LAUNCH_TIMER_ID);
    // Nothing when the pending window went meanwhile, or a later session without delay has shown.
    if (paintWindow != nullptr && !IsWindowVisible(paintWindow))
        CaptureAndShow();
}

void OnSessionEnded(HWND settingsWindow)
{
    paintWindow = nullptr;
    if (!trayMode) {
        DestroyWindow(settingsWindow);
        return;
    }
    // While the options are open the key stays free for the hot-key control.
    if ((Settings.flags & OPT_HOTKEY) && !(GetWindowLongA(settingsWindow, GWL_STYLE) & WS_VISIBLE))
        RegisterLaunchHotKey(settingsWindow);
}
