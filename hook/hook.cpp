// Scrivane.dll, the optional mouse-hook module. Between Capture and Release it tells the program's
// window about every mouse button press anywhere on the desktop, so that a right press with the
// middle button held can start a drawing session over any application.
//
// Everything here runs on the thread that called Capture: a low-level hook is called on the thread
// that set it, while that thread pumps messages. No locking is needed and none is done.
#include <windows.h>

namespace {

HINSTANCE moduleInstance;
HHOOK mouseHook;
HWND reportWindow;
UINT reportMessage;
// The right press that started a session was swallowed; its release must be swallowed with it.
bool swallowingRightRelease;

// Long enough for a UI thread that pumps every few milliseconds, and well inside the system's
// low-level hook timeout, after which Windows removes a slow hook without telling anybody.
constexpr UINT kReportTimeoutMs = 200;

bool IsButtonPress(WPARAM message)
{
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
           message == WM_XBUTTONDOWN;
}

// The program's answer, or 0 when it could not give one in time: then the press is the user's.
LRESULT AskProgram(WPARAM message, const MSLLHOOKSTRUCT& event)
{
    // The high word says which X button, as in the wParam of WM_XBUTTONDOWN itself; it is 0 for
    // the other buttons.
    const WPARAM wParam = MAKEWPARAM(message, HIWORD(event.mouseData));
    const LPARAM lParam = MAKELPARAM(event.pt.x, event.pt.y);
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(reportWindow, reportMessage, wParam, lParam, SMTO_ABORTIFHUNG, kReportTimeoutMs,
                             &answer))
        return 0;
    return static_cast<LRESULT>(answer);
}

// Answer 1 means this right press started a session. Letting it through would also hand it to the
// application under the pointer, which would open its context menu over the frozen picture; most
// applications open that menu on the release, so the release goes too. They are swallowed as a
// pair: the system never sees the button go down, so it can never think it is still held. Any
// other event, the middle press of the same gesture included, passes through untouched.
bool Swallows(WPARAM message, const MSLLHOOKSTRUCT& event)
{
    if (message == WM_RBUTTONUP && swallowingRightRelease) {
        swallowingRightRelease = false;
        return true;
    }
    if (!IsButtonPress(message))
        return false;
    const bool startsSession = AskProgram(message, event) == 1;
    if (message != WM_RBUTTONDOWN)
        return false;
    // A release always pairs with the latest right press, so a lost release cannot make the
    // module swallow a later one that the system did see go down.
    swallowingRightRelease = startsSession;
    return startsSession;
}

LRESULT CALLBACK OnLowLevelMouse(int code, WPARAM message, LPARAM lParam)
{
    if (code == HC_ACTION && Swallows(message, *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)))
        return 1;
    return CallNextHookEx(mouseHook, code, message, lParam);
}

void RemoveHook()
{
    if (mouseHook)
        UnhookWindowsHookEx(mouseHook);
    mouseHook = nullptr;
    reportWindow = nullptr;
    reportMessage = 0;
    // A release still pending belongs to a press the system never saw; letting it through later
    // cannot leave anything held.
    swallowingRightRelease = false;
}

} // namespace

// TRUE while the hook is in place. The program calls this at every return to stand-by, so a
// second call only redirects the reports: one hook, one report per press.
extern "C" BOOL WINAPI Capture(HWND window, UINT message)
{
    reportWindow = window;
    reportMessage = message;
    if (!mouseHook)
        mouseHook = SetWindowsHookExW(WH_MOUSE_LL, OnLowLevelMouse, moduleInstance, 0);
    return mouseHook != nullptr;
}

// Always TRUE: there is nothing the caller could do about a failure. Harmless without Capture.
extern "C" BOOL WINAPI Release()
{
    RemoveHook();
    return TRUE;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        moduleInstance = instance;
    // Unloaded by FreeLibrary without Release: the system would go on calling a hook procedure
    // that is no longer mapped. At process exit (reserved non-null) the system drops the hook
    // itself, and calling into user32 then is not safe.
    if (reason == DLL_PROCESS_DETACH && !reserved)
        RemoveHook();
    return TRUE;
}
