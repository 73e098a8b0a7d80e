// Scrivane.dll as the program uses it: loaded by path, Capture(window, message) from this thread,
// real input injected with SendInput while the thread pumps. One window, under the pointer, takes
// both the reports and the input, and writes down what reaches it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "shell/base/messages.h"

namespace {

std::string seen;  // "2024 R+, R+, R-, ": reports with their press, then the input that came through
std::atomic<HWND> stalled;
LRESULT answer;  // the program's answer to every report: 1 for a right press that starts a session
DWORD slowestClick;

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

// A window whose thread never pumps, like a hung program's, until the event is set.
DWORD WINAPI RunStalledWindow(void* finish)
{
    stalled = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    WaitForSingleObject(finish, INFINITE);
    return DestroyWindow(stalled);
}

// Each event (MOUSEEVENTF_ flags; X button 2 for the X button), then 60 ms of this thread's messages.
void Input(const std::vector<DWORD>& events)
{
    for (const DWORD flags : events) {
        INPUT input = {INPUT_MOUSE, {}};
        input.mi.dwFlags = flags;
        input.mi.mouseData = flags & (MOUSEEVENTF_XDOWN | MOUSEEVENTF_XUP) ? XBUTTON2 : flags == MOUSEEVENTF_WHEEL ? WHEEL_DELTA : 0;
        input.mi.dx = input.mi.dy = flags == MOUSEEVENTF_MOVE ? 5 : 0;
        ASSERT_EQ(SendInput(1, &input, sizeof(input)), 1u) << flags << ": error " << GetLastError();
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 60; MsgWaitForMultipleObjects(0, 0, 0, 5, QS_ALLINPUT))
            for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
                DispatchMessageW(&msg);
    }
}

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

enum Call { Same, Capture, CaptureNext, CaptureStalled, Release, Asleep };  // Asleep: Capture, then the click comes
constexpr DWORD L = MOUSEEVENTF_LEFTDOWN, Lu = MOUSEEVENTF_LEFTUP, R = MOUSEEVENTF_RIGHTDOWN, Ru = MOUSEEVENTF_RIGHTUP,
                M = MOUSEEVENTF_MIDDLEDOWN, Mu = MOUSEEVENTF_MIDDLEUP, X = MOUSEEVENTF_XDOWN, Xu = MOUSEEVENTF_XUP;

// The rows run in order on the module freshly loaded, each after its call.
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
    Input({MOUSEEVENTF_MOVE, Lu, Ru, Mu, Xu});  // nothing left held by whatever ran before; meanwhile the stalled window is made
    POINT pointer;
    ASSERT_TRUE(capture && release && stalled && GetCursorPos(&pointer) && WindowFromPoint(pointer) == window);

    const struct { Call call; LRESULT answer; std::vector<DWORD> input; const char *want, *why; } cases[] = {
        {Release, 1, {L, Lu}, "L+, L-, ", "Release without Capture does nothing"},
        {Capture, 1, {L, Lu}, "2024 L+, L+, L-, ", "left, answered 1: only a right press starts a session"},
        {Same, 0, {R, Ru}, "2024 R+, R+, R-, ", "right, answered 0: the user's own right click"},
        {Same, 1, {X, Xu}, "2024 X+ 2, X+, X-, ", "X2, answered 1: the high word says which"},
        {Same, 1, {MOUSEEVENTF_MOVE, MOUSEEVENTF_WHEEL}, "", "moves and the wheel are not reported"},
        {Same, 1, {M, R, Ru, Mu}, "2024 M+, M+, 2024 R+, M-, ",
         "the gesture, answered 1: the middle button passes, the right press goes with its release"},
        {Same, 0, {R, Ru}, "2024 R+, R+, R-, ", "the next right click: nothing of the last is swallowed"},
        {Release, 1, {L, Lu}, "L+, L-, ", "Release stops the reports"},
        {Capture, 1, {L, Lu}, "2024 L+, L+, L-, ", "Capture after Release starts them again"},
        {Capture, 1, {L, Lu}, "2024 L+, L+, L-, ", "Capture twice keeps one hook: one report per press"},
        {CaptureNext, 1, {L, Lu}, "2025 L+, L+, L-, ", "the latest Capture's message is used"},
        {CaptureStalled, 1, {L, Lu}, "L+, L-, ", "and its window: one that does not answer delays a press only briefly"},
        // Regression: the hook ran on the program's thread, so every mouse event of the desktop waited
        // for it (seconds each under Wine) and Windows silently drops a hook that keeps it waiting.
        {Asleep, 1, {MOUSEEVENTF_MOVE}, "L+, L-, ", "a click while the program's thread sleeps (a clipboard wait)"},
    };
    for (const auto& c : cases) {
        if (c.call == Release)
            release();
        else if (c.call != Same)
            capture(c.call == CaptureStalled ? stalled.load() : window, TWM_HOOK_EVENT + (c.call == CaptureNext));
        answer = c.answer;
        seen.clear();
        const DWORD start = GetTickCount();
        if (c.call == Asleep) {
            HANDLE clicker = CreateThread(nullptr, 0, ClickOnce, nullptr, 0, nullptr);
            Sleep(1500);
            WaitForSingleObject(clicker, 10000);
            CloseHandle(clicker);
            EXPECT_LT(slowestClick, 1000u) << c.why << ": milliseconds a press waited in SendInput";
        }
        Input(c.input);
        EXPECT_TRUE(c.call == Asleep || GetTickCount() - start < 1000u) << c.why << ": " << GetTickCount() - start << " ms";
        EXPECT_EQ(seen, c.want) << c.why;
        for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON2})
            EXPECT_FALSE(GetAsyncKeyState(vk) & 0x8000) << c.why << ": the system thinks button " << vk << " is held";
    }
    release();
    SetEvent(finish);
    WaitForSingleObject(thread, 10000);
    FreeLibrary(module);
    EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr) << "Release left the hook's thread holding the module";
}

}  // namespace
