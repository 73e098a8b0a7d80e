// Scrivane.dll as the program uses it: loaded by path, Capture(window, message) from this thread,
// real input injected with SendInput while the thread pumps. One window, under the pointer, takes
// both the reports and the input, and writes down what reaches it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <sstream>
#include <string>

#include "shell/base/messages.h"

namespace {

std::string seen;  // "2024 R+ (answered 1), R-, ": reports with their press, then the input that came through
std::atomic<HWND> stalled;
LRESULT answer;    // the program's answer to every report: 1 for a right press that starts a session
LONG accessViolations;

// "R+" for WM_RBUTTONDOWN, "R-" for its release, likewise L, M and X (with " 2" for X button 2).
std::string Name(UINT m, WPARAM wParam)
{
    const char* const names[] = {"L+", "L-", "", "R+", "R-", "", "M+", "M-", "", "", "X+", "X-"};
    const bool button = m >= WM_LBUTTONDOWN && m <= WM_XBUTTONUP && *names[m - WM_LBUTTONDOWN];
    return button ? names[m - WM_LBUTTONDOWN] + std::string(HIWORD(wParam) == 2 ? " 2" : "") : "";
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER)
        seen += std::to_string(message) + " " + Name(LOWORD(wParam), wParam) + ", ";
    else if (!Name(message, 0).empty())
        seen += Name(message, 0) + ", ";
    return message >= WM_USER ? answer : DefWindowProcW(window, message, wParam, lParam);
}

// Windows ends the process when it calls a hook whose code is gone; Wine catches the fault and
// carries on, so there a hook left behind shows only as access violations.
LONG CALLBACK CountAccessViolation(EXCEPTION_POINTERS* e)
{
    accessViolations += e->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION;
    return EXCEPTION_CONTINUE_SEARCH;
}

// A window whose thread never pumps, like a hung program's, until the event is set.
DWORD WINAPI RunStalledWindow(void* finish)
{
    stalled = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    WaitForSingleObject(finish, INFINITE);
    return DestroyWindow(stalled);
}

// Mouse input as words, each followed by 60 ms of this thread's messages and so of the hook: "L+"
// presses the left button, "L-" releases it (R, M, 2 for X button 2 alike), "mv" moves, "wh" scrolls.
void Input(const std::string& words)
{
    std::istringstream in(words);
    for (std::string w; in >> w;) {
        const DWORD presses[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_XDOWN};
        const size_t button = std::string("LRM2").find(w[0]);
        INPUT input = {INPUT_MOUSE, {}};
        // Each release flag is its press flag shifted by one.
        input.mi.dwFlags = button < 4 ? presses[button] << (w[1] == '-') : w == "wh" ? MOUSEEVENTF_WHEEL : MOUSEEVENTF_MOVE;
        input.mi.mouseData = button == 3 ? XBUTTON2 : w == "wh" ? WHEEL_DELTA : 0;
        input.mi.dx = input.mi.dy = w == "mv" ? 5 : 0;
        ASSERT_EQ(SendInput(1, &input, sizeof(input)), 1u) << w << ": error " << GetLastError();
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 60; MsgWaitForMultipleObjects(0, 0, 0, 5, QS_ALLINPUT))
            for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
                DispatchMessageW(&msg);
    }
}

DWORD slowestClick;

DWORD WINAPI ClickOnce(void*)
{
    for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
        INPUT input = {INPUT_MOUSE, {{0, 0, 0, flags, 0, 0}}};
        const DWORD start = GetTickCount();
        SendInput(1, &input, sizeof(input));
        slowestClick = std::max<DWORD>(slowestClick, GetTickCount() - start);
    }
    return 0;
}

// The rows run in order on the module freshly loaded, each after calling C Capture(window),
// O Capture(window, the next message), S Capture(a window that never answers) or R Release. The input
// "asleep" is a click from another thread while this one, the program's, sleeps.
TEST(HookModule, ReportsEveryPressAndSwallowsOnlyARightPressAnsweredOneWithItsRelease)
{
    std::string path = std::string("Z:") + SCRIVANE_HOOK_DLL;  // Wine's drive for the Unix tree
    std::replace(path.begin(), path.end(), '/', '\\');
    HMODULE module = LoadLibraryA(path.c_str());
    ASSERT_NE(module, nullptr) << path << ": error " << GetLastError();
    const auto capture = reinterpret_cast<BOOL(WINAPI*)(HWND, UINT)>(reinterpret_cast<void (*)()>(GetProcAddress(module, "Capture")));
    const auto release = reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void (*)()>(GetProcAddress(module, "Release")));
    WNDCLASSW wc = {0, RecordingProc, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"HookTest"};
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
    HANDLE finish = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, RunStalledWindow, finish, 0, nullptr);
    Input("mv L- R- M- 2-");  // nothing left held by whatever ran before; meanwhile the stalled window is made
    POINT pointer;
    ASSERT_TRUE(capture && release && stalled && GetCursorPos(&pointer) && WindowFromPoint(pointer) == window);
    void* handler = AddVectoredExceptionHandler(1, CountAccessViolation);

    const struct { const char* calls; LRESULT answer; const char *input, *want, *why; } cases[] = {
        {"R", 1, "L+ L-", "L+, L-, ", "Release without Capture does nothing"},
        {"C", 1, "L+ L-", "2024 L+, L+, L-, ", "left, answered 1: only a right press starts a session"},
        {"", 0, "R+ R-", "2024 R+, R+, R-, ", "right, answered 0: the user's own right click"},
        {"", 1, "2+ 2-", "2024 X+ 2, X+, X-, ", "X2, answered 1: the high word says which"},
        {"", 1, "mv wh mv", "", "moves and the wheel are not reported"},
        {"", 1, "M+ R+ R- M-", "2024 M+, M+, 2024 R+, M-, ",
         "the gesture, answered 1: the middle button passes, the right press goes with its release"},
        {"", 0, "R+ R-", "2024 R+, R+, R-, ", "the next right click: nothing of the last is swallowed"},
        {"R", 1, "L+ L-", "L+, L-, ", "Release stops the reports"},
        {"C", 1, "L+ L-", "2024 L+, L+, L-, ", "Capture after Release starts them again"},
        {"C", 1, "L+ L-", "2024 L+, L+, L-, ", "Capture twice keeps one hook: one report per press"},
        {"O", 1, "L+ L-", "2025 L+, L+, L-, ", "the latest Capture's message is used"},
        {"S", 1, "L+ L-", "L+, L-, ", "and its window: one that does not answer delays a press only briefly"},
        {"C", 1, "asleep", "L+, L-, ",
         "a click while the program's thread sleeps (a clipboard wait) waits at most the report's timeout"},
    };
    for (const auto& c : cases) {
        for (const char* call = c.calls; *call; ++call)
            *call == 'R' ? release() : capture(*call == 'S' ? stalled.load() : window, TWM_HOOK_EVENT + (*call == 'O'));
        answer = c.answer;
        seen.clear();
        const DWORD start = GetTickCount();
        if (std::string(c.input) == "asleep") {
            // Regression: the hook ran on this thread, so every mouse event of the desktop waited for
            // it (seconds each under Wine) and Windows silently drops a hook that keeps it waiting.
            slowestClick = 0;
            HANDLE clicker = CreateThread(nullptr, 0, ClickOnce, nullptr, 0, nullptr);
            Sleep(1500);
            WaitForSingleObject(clicker, 10000);
            CloseHandle(clicker);
            Input("mv");
            EXPECT_LT(slowestClick, 1000u) << c.why << ": milliseconds a press waited in SendInput";
        } else {
            Input(c.input);
            EXPECT_LT(GetTickCount() - start, 1000u) << c.why << ": milliseconds the input took";
        }
        EXPECT_EQ(seen, c.want) << c.why;
        for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON2})
            EXPECT_FALSE(GetAsyncKeyState(vk) & 0x8000) << c.why << ": the system thinks button " << vk << " is held";
    }
    release();
    SetEvent(finish);
    WaitForSingleObject(thread, 10000);
    RemoveVectoredExceptionHandler(handler);
    EXPECT_EQ(accessViolations, 0) << "faults while calling the hook";
    FreeLibrary(module);
    EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr) << "Release left the hook's thread holding the module";
}

}  // namespace
