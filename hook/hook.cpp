// Scrivane.dll, the optional mouse-hook module. Between Capture and Release it tells the program's
// window about every mouse button press anywhere on the desktop, so that a right press with the
// middle button held can start a drawing session over any application.
//
// A low-level hook is called on the thread that set it, and only while that thread pumps messages;
// the whole desktop's mouse waits for it meanwhile. The program's own thread sleeps (the launch delay,
// the clipboard retries) and runs modal dialogs, so the hook lives on a thread of its own here that
// does nothing but pump, from Capture to Release. Only the report target crosses threads.
#include <windows.h>

#include <atomic>

namespace {

HINSTANCE moduleInstance;
std::atomic<HWND> reportWindow{nullptr};
std::atomic<UINT> reportMessage{0};

// Owned by the hook thread.
HHOOK mouseHook;
// The right press that started a session was swallowed; its release must be swallowed with it.
bool swallowingRightRelease;

// Owned by the callers of Capture and Release (the program's one thread).
HANDLE hookThread;
DWORD hookThreadId;

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
    if (!SendMessageTimeoutW(reportWindow.load(), reportMessage.load(), wParam, lParam, SMTO_ABORTIFHUNG,
                             kReportTimeoutMs, &answer))
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

struct HookStart {
    HANDLE ready;
    bool hooked;
};

// Sets the hook, says whether it worked, and pumps until told to quit. It holds a reference to the
// module of its own, so that a FreeLibrary without Release cannot unmap the code it runs.
DWORD WINAPI RunHookThread(void* parameter)
{
    HookStart& start = *static_cast<HookStart*>(parameter);
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&RunHookThread), &self);
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the queue exists before the quit is posted
    mouseHook = SetWindowsHookExW(WH_MOUSE_LL, OnLowLevelMouse, moduleInstance, 0);
    start.hooked = mouseHook != nullptr;
    SetEvent(start.ready);
    if (mouseHook) {
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        UnhookWindowsHookEx(mouseHook);
    }
    mouseHook = nullptr;
    swallowingRightRelease = false;
    FreeLibraryAndExitThread(self, 0);
}

void StopHookThread()
{
    if (!hookThread)
        return;
    PostThreadMessageW(hookThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(hookThread, INFINITE);
    CloseHandle(hookThread);
    hookThread = nullptr;
    hookThreadId = 0;
}

}  // namespace

// TRUE while the hook is in place. The program calls this at every return to stand-by, so a
// second call only redirects the reports: one hook, one report per press.
extern "C" BOOL WINAPI Capture(HWND window, UINT message)
{
    reportWindow = window;
    reportMessage = message;
    if (hookThread)
        return TRUE;
    HookStart start = {CreateEventW(nullptr, TRUE, FALSE, nullptr), false};
    if (!start.ready)
        return FALSE;
    hookThread = CreateThread(nullptr, 0, RunHookThread, &start, 0, &hookThreadId);
    if (hookThread)
        WaitForSingleObject(start.ready, INFINITE);
    CloseHandle(start.ready);
    if (hookThread && !start.hooked) {
        WaitForSingleObject(hookThread, INFINITE);
        CloseHandle(hookThread);
        hookThread = nullptr;
    }
    return hookThread != nullptr;
}

// Always TRUE: there is nothing the caller could do about a failure. Harmless without Capture.
extern "C" BOOL WINAPI Release()
{
    StopHookThread();
    reportWindow = nullptr;
    reportMessage = 0;
    return TRUE;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    // No waiting for the hook thread here: under the loader lock it could never finish. It keeps the
    // module loaded itself until Release stops it, or the process ends.
    if (reason == DLL_PROCESS_ATTACH)
        moduleInstance = instance;
    return TRUE;
}
