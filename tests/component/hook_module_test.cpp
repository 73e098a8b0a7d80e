// Scrivane.dll loaded by path, Capture(window, message) from this thread, real input sent while it pumps.
// One window, under the pointer, takes both the reports and the input, and writes down what reaches it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/base/messages.h"

namespace {

std::string seen;  // "2024 R+, R+, R-, ": reports with their press, then the input that came through
LRESULT answer;    // the program's answer to every report: 1 for a right press that starts a session

std::string Name(UINT m, WPARAM wParam)  // "R+" for WM_RBUTTONDOWN, "R-" for its release, likewise L, M, X
{
    const char* const names[] = {"L+", "L-", "", "R+", "R-", "", "M+", "M-", "", "", "X+", "X-"};
    const char* name = m >= WM_LBUTTONDOWN && m <= WM_XBUTTONUP ? names[m - WM_LBUTTONDOWN] : "";
    return *name ? name + std::string(HIWORD(wParam) == 2 ? " 2, " : ", ") : "";  // " 2": X button 2
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    seen += message >= WM_USER ? std::to_string(message) + " " + Name(LOWORD(wParam), wParam) : Name(message, 0);
    return message >= WM_USER ? answer : DefWindowProcW(window, message, wParam, lParam);
}

void Input(const std::vector<DWORD>& events, bool pump = true)  // each (X: button 2), then 60 ms of this thread's messages
{
    for (const DWORD flags : events) {
        const DWORD data = flags & (MOUSEEVENTF_XDOWN | MOUSEEVENTF_XUP) ? XBUTTON2 : 0;
        INPUT input = {INPUT_MOUSE, {{flags == MOUSEEVENTF_MOVE ? 5 : 0, 0, data, flags, 0, 0}}};
        EXPECT_EQ(SendInput(1, &input, sizeof(input)), 1u) << flags << ": error " << GetLastError();
        for (const DWORD t = GetTickCount(); pump && GetTickCount() - t < 60; MsgWaitForMultipleObjects(0, 0, 0, 5, QS_ALLINPUT))
            for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
                DispatchMessageW(&msg);
    }
}

constexpr DWORD L = MOUSEEVENTF_LEFTDOWN, Lu = MOUSEEVENTF_LEFTUP, R = MOUSEEVENTF_RIGHTDOWN, Ru = MOUSEEVENTF_RIGHTUP,
                M = MOUSEEVENTF_MIDDLEDOWN, Mu = MOUSEEVENTF_MIDDLEUP, X = MOUSEEVENTF_XDOWN, Xu = MOUSEEVENTF_XUP;
DWORD WINAPI Click(void*) { return Input({L, Lu}, false), 0; }
enum Call { Same, Capture, CaptureNext, Release, Asleep };  // before each row's input, in order; Asleep captures

TEST(HookModule, ReportsEveryPressAndSwallowsOnlyARightPressAnsweredOneWithItsRelease)
{
    std::string path = std::string("Z:") + SCRIVANE_HOOK_DLL;  // Wine's drive for the Unix tree
    std::replace(path.begin(), path.end(), '/', '\\');
    HMODULE module = LoadLibraryA(path.c_str());
    const auto capture = reinterpret_cast<BOOL(WINAPI*)(HWND, UINT)>(reinterpret_cast<void (*)()>(GetProcAddress(module, "Capture")));
    const auto release = reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void (*)()>(GetProcAddress(module, "Release")));
    WNDCLASSW wc = {0, RecordingProc, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"HookTest"};
    HWND window = CreateWindowExW(WS_EX_TOPMOST, RegisterClassW(&wc) ? wc.lpszClassName : nullptr, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
    Input({MOUSEEVENTF_MOVE, Lu, Ru, Mu, Xu});  // nothing left held by whatever ran before
    POINT pointer;
    ASSERT_TRUE(capture && release && GetCursorPos(&pointer) && WindowFromPoint(pointer) == window) << path;
    const struct { Call call; LRESULT answer; std::vector<DWORD> input; const char *want, *why; } cases[] = {
        {Release, 1, {L, Lu}, "L+, L-, ", "Release without Capture does nothing"},
        {Capture, 1, {L, Lu}, "2024 L+, L+, L-, ", "left, answered 1: only a right press starts a session"},
        {Same, 0, {R, Ru}, "2024 R+, R+, R-, ", "right, answered 0: the user's own right click"},
        {Same, 1, {X, Xu}, "2024 X+ 2, X+, X-, ", "X2, answered 1: the high word says which"},
        {Same, 1, {MOUSEEVENTF_MOVE, MOUSEEVENTF_WHEEL}, "", "moves and the wheel are not reported"},
        {Same, 1, {M, R, Ru, Mu}, "2024 M+, M+, 2024 R+, M-, ", "the gesture: the right press goes with its release"},
        {Same, 0, {R, Ru}, "2024 R+, R+, R-, ", "the next right click: nothing of the last is swallowed"},
        {Release, 1, {L, Lu}, "L+, L-, ", "Release stops the reports"},
        {CaptureNext, 1, {L, Lu}, "2025 L+, L+, L-, ", "Capture after Release starts them again, to its message"},
        {Capture, 1, {L, Lu}, "2024 L+, L+, L-, ", "Capture twice: one hook (one report per press), the latest message"},
        // Regression: the hook ran on the program's thread, and its waits held up every mouse event of the desktop.
        {Asleep, 1, {MOUSEEVENTF_MOVE}, "L+, L-, ", "a click while the program's thread sleeps passes, unreported"},
    };
    for (const auto& c : cases) {
        c.call == Release ? release() : c.call != Same && capture(window, TWM_HOOK_EVENT + (c.call == CaptureNext));
        answer = c.answer, seen.clear();
        if (c.call == Asleep) {  // a click while this thread sleeps (a clipboard wait) must not wait for it
            const HANDLE clicker = CreateThread(nullptr, 0, Click, nullptr, 0, nullptr);
            seen += (Sleep(1500), WaitForSingleObject(clicker, 0)) ? "(the click still waits in SendInput) " : "";
            CloseHandle(clicker);
        }
        Input(c.input);
        for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON2})
            seen += GetAsyncKeyState(vk) & 0x8000 ? "(button " + std::to_string(vk) + " still held)" : "";
        EXPECT_EQ(seen, c.want) << c.why;
    }
    release(), FreeLibrary(module);
    EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr) << "Release left the hook's thread holding the module";
}

}  // namespace
