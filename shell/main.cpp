// Entry point: one copy per desktop, the hidden settings window, and the program's one message loop.
#include <windows.h>
#include <commctrl.h>

#include "shell/base/messages.h"
#include "shell/message_loop.h"
#include "shell/settings_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The two common controls of the options: the hot-key fields and the delay's up-down arrows.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_HOTKEY_CLASS | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    // A running copy takes over: it starts a session (with the launch delay) and this one leaves
    // without touching the settings file.
    if (HWND running = FindWindowA(kSettingsClassName, nullptr)) {
        PostMessageA(running, TWM_LAUNCH, 0, 1);
        return 0;
    }

    // Without the settings window nothing would ever post the quit the loop waits for.
    if (CreateSettingsWindow(instance) == nullptr)
        return 1;
    return RunMessageLoop();
}
