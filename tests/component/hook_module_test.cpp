// Scrivane.dll as the program uses it: loaded by path, Capture(window, message) from this thread,
// real input injected with SendInput while the thread pumps. A hidden window takes the reports and
// a visible one lies under the pointer; both record what reaches them as readable lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <sstream>
#include <string>
#include <vector>

#include "shell/messages.h"

namespace {

using Lines = std::vector<std::string>;
using CaptureProc = BOOL(WINAPI*)(HWND, UINT);
using ReleaseProc = BOOL(WINAPI*)();

// Build paths are Unix paths: name Wine's drive for the Unix tree, so that loading does not depend
// on the current drive.
std::string WindowsPath(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path.rfind('\\', 0) == 0 ? "Z:" + path : path;
}

std::string Name(UINT message)
{
    static const char* const names[] = {
        "WM_MOUSEMOVE",   "WM_LBUTTONDOWN", "WM_LBUTTONUP",     "WM_LBUTTONDBLCLK", "WM_RBUTTONDOWN",
        "WM_RBUTTONUP",   "WM_RBUTTONDBLCLK", "WM_MBUTTONDOWN", "WM_MBUTTONUP",     "WM_MBUTTONDBLCLK",
        "WM_MOUSEWHEEL",  "WM_XBUTTONDOWN", "WM_XBUTTONUP"}; // 0x200 onwards
    return message >= WM_MOUSEMOVE && message <= WM_XBUTTONUP ? names[message - WM_MOUSEMOVE] : std::to_string(message);
}

// What the windows saw, in order: "reporter: 2024 WM_XBUTTONDOWN 2" (the report's message, the low
// word of its wParam, the high word if any) and "target: WM_RBUTTONUP".
Lines seen;
HWND reporter, target;
LRESULT answer; // the program's answer to every report: 1 for a right press that starts a session

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const std::string who = window == reporter ? "reporter: " : "target: ";
    if (message >= WM_USER) {
        const std::string xButton = HIWORD(wParam) ? " " + std::to_string(HIWORD(wParam)) : "";
        seen.push_back(who + std::to_string(message) + " " + Name(LOWORD(wParam)) + xButton);
        return answer;
    }
    if (message >= WM_LBUTTONDOWN && message <= WM_XBUTTONDBLCLK && message != WM_MOUSEWHEEL)
        seen.push_back(who + Name(message));
    return DefWindowProcW(window, message, wParam, lParam);
}

// Runs this thread's messages, and with them the low-level hook, for a while.
void Pump(DWORD ms = 60)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms;
         MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT))
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&msg);
}

void Send(DWORD flags, DWORD data = 0, LONG dx = 0, LONG dy = 0)
{
    INPUT input = {INPUT_MOUSE, {{dx, dy, data, flags, 0, 0}}};
    ASSERT_EQ(SendInput(1, &input, sizeof(input)), 1u) << "error " << GetLastError();
    Pump();
}

// Mouse input as words: "L+" presses the left button and "L-" releases it (R right, M middle, 1 and
// 2 the X buttons); "move" nudges the pointer and "wheel" turns the wheel.
void Input(const std::string& words)
{
    std::istringstream in(words);
    for (std::string w; in >> w;) {
        const bool down = w[1] == '+';
        switch (w[0]) {
        case 'L': Send(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP); break;
        case 'R': Send(down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP); break;
        case 'M': Send(down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP); break;
        case '1': case '2': Send(down ? MOUSEEVENTF_XDOWN : MOUSEEVENTF_XUP, w[0] == '1' ? XBUTTON1 : XBUTTON2); break;
        case 'w': Send(MOUSEEVENTF_WHEEL, WHEEL_DELTA); break;
        case 'm': Send(MOUSEEVENTF_MOVE, 0, 5, 5); break;
        default: ADD_FAILURE() << "no such input: " << w;
        }
    }
}

const std::string kReportLeft = "reporter: 2024 WM_LBUTTONDOWN", kReportRight = "reporter: 2024 WM_RBUTTONDOWN";
const std::string kLeftDown = "target: WM_LBUTTONDOWN", kLeftUp = "target: WM_LBUTTONUP";
const std::string kRightDown = "target: WM_RBUTTONDOWN", kRightUp = "target: WM_RBUTTONUP";

// Windows crashes the process when it calls a hook whose code is gone. Wine catches the fault and
// carries on, so there a hook left behind shows only as access violations, counted here.
LONG accessViolations;

LONG CALLBACK CountAccessViolation(EXCEPTION_POINTERS* exception)
{
    accessViolations += exception->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION;
    return EXCEPTION_CONTINUE_SEARCH;
}

class HookModule : public ::testing::Test {
protected:
    void SetUp() override
    {
        module = LoadLibraryA(WindowsPath(SCRIVANE_HOOK_DLL).c_str());
        ASSERT_NE(module, nullptr) << SCRIVANE_HOOK_DLL << ": error " << GetLastError();
        capture = reinterpret_cast<CaptureProc>(reinterpret_cast<void (*)()>(GetProcAddress(module, "Capture")));
        release = reinterpret_cast<ReleaseProc>(reinterpret_cast<void (*)()>(GetProcAddress(module, "Release")));
        ASSERT_TRUE(capture && release);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ScrivaneHookTest";
        RegisterClassW(&wc);
        // The target covers the screen, so the pointer is over it wherever the input moves it.
        for (HWND* window : {&reporter, &target})
            *window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP, 0, 0,
                                      GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                      wc.hInstance, nullptr);
        ASSERT_TRUE(reporter && target);
        ShowWindow(target, SW_SHOW);
        Send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 32768, 32768);
        POINT pointer;
        ASSERT_TRUE(GetCursorPos(&pointer) && WindowFromPoint(pointer) == target);
        handler = AddVectoredExceptionHandler(1, CountAccessViolation);
        Input("L- R- M- 1- 2-"); // no button left held by whatever ran before
        accessViolations = answer = 0;
        seen.clear();
    }

    void TearDown() override
    {
        if (module) {
            release();
            FreeLibrary(module);
        }
        DestroyWindow(target);
        DestroyWindow(reporter);
        Pump(10);
        RemoveVectoredExceptionHandler(handler);
        EXPECT_EQ(accessViolations, 0) << "faults while calling the hook";
    }

    HMODULE module = nullptr;
    CaptureProc capture = nullptr;
    ReleaseProc release = nullptr;
    void* handler = nullptr;
};

// The rows run in order on one hook, each from the state the one before left.
TEST_F(HookModule, EveryPressIsReportedAndOnlyARightPressAnsweredOneIsSwallowedWithItsRelease)
{
    const struct {
        const char* why;
        LRESULT answer;
        const char* input;
        Lines expected;
    } cases[] = {
        {"left, answered 1: only a right press starts a session", 1, "L+ L-", {kReportLeft, kLeftDown, kLeftUp}},
        {"right, answered 0: the user's own right click", 0, "R+ R-", {kReportRight, kRightDown, kRightUp}},
        {"X1 and X2, answered 1: the high word says which", 1, "1+ 1- 2+ 2-",
         {"reporter: 2024 WM_XBUTTONDOWN 1", "target: WM_XBUTTONDOWN", "target: WM_XBUTTONUP",
          "reporter: 2024 WM_XBUTTONDOWN 2", "target: WM_XBUTTONDOWN", "target: WM_XBUTTONUP"}},
        {"moves and the wheel are not reported", 1, "move wheel move", {}},
        {"the gesture, answered 1: the middle button passes, the right press goes with its release", 1,
         "M+ R+ R- M-",
         {"reporter: 2024 WM_MBUTTONDOWN", "target: WM_MBUTTONDOWN", kReportRight, "target: WM_MBUTTONUP"}},
        {"the next right click, answered 0: nothing of the last is still swallowed", 0, "R+ R-",
         {kReportRight, kRightDown, kRightUp}},
    };
    ASSERT_TRUE(capture(reporter, TWM_HOOK_EVENT));
    for (const auto& c : cases) {
        answer = c.answer;
        seen.clear();
        Input(c.input);
        EXPECT_EQ(seen, c.expected) << c.why;
        for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2})
            EXPECT_FALSE(GetAsyncKeyState(vk) & 0x8000) << c.why << ": the system thinks button " << vk << " is held";
    }
}

// Calls in the orders the program makes them, each row's followed by a left click: C is
// Capture(reporter), O Capture(target, the next message), R Release and U FreeLibrary. The
// rows run in order, the first on the module freshly loaded; each but the last ends with Release.
TEST_F(HookModule, CaptureReleaseAndUnloadingInTheOrdersTheProgramUses)
{
    const Lines reported = {kReportLeft, kLeftDown, kLeftUp}, unreported = {kLeftDown, kLeftUp};
    const struct {
        const char* why;
        const char* calls;
        Lines expected;
    } cases[] = {
        {"Release without Capture does nothing", "RR", unreported},
        {"Capture after it still works", "C", reported},
        {"Release stops the reports", "CR", unreported},
        {"Capture after Release starts them again", "CRC", reported},
        {"Capture twice keeps one hook: one report per press", "CC", reported},
        {"the latest Capture's window and message are used", "CO", {"target: 2025 WM_LBUTTONDOWN", kLeftDown, kLeftUp}},
    };
    for (const auto& c : cases) {
        for (const char* call = c.calls; *call; ++call) {
            switch (*call) {
            case 'C': EXPECT_TRUE(capture(reporter, TWM_HOOK_EVENT)) << c.why; break;
            case 'O': EXPECT_TRUE(capture(target, TWM_HOOK_EVENT + 1)) << c.why; break;
            case 'R': release(); break;
            }
        }
        seen.clear();
        Input("L+ L-");
        EXPECT_EQ(seen, c.expected) << c.why << " (" << c.calls << ")";
        if (module)
            release();
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

// Regression: the hook ran on the program's own thread, which sleeps through the launch delay and
// the clipboard retries: every mouse event of the desktop waited for it (seconds each under Wine),
// and Windows silently drops a hook that keeps it waiting.
TEST_F(HookModule, TheDesktopNeverWaitsForASleepingProgram)
{
    ASSERT_TRUE(capture(reporter, TWM_HOOK_EVENT));
    slowestClick = 0;
    HANDLE clicker = CreateThread(nullptr, 0, ClickOnce, nullptr, 0, nullptr);
    Sleep(1500);  // this thread is the program's, in its launch delay
    WaitForSingleObject(clicker, 10000);
    CloseHandle(clicker);
    Pump();
    EXPECT_LT(slowestClick, 1000u) << "ms a press waited in SendInput: at most the report's own timeout";
    EXPECT_EQ(seen, (Lines{kLeftDown, kLeftUp})) << "the click reaches its window unreported";
}

// A window whose thread has stopped pumping, as a hung program's would, until told to finish.
std::atomic<HWND> stalledWindow;
HANDLE finish = CreateEventW(nullptr, TRUE, FALSE, nullptr);

DWORD WINAPI RunStalledWindow(void*)
{
    stalledWindow = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    WaitForSingleObject(finish, 5000);
    DestroyWindow(stalledWindow);
    return 0;
}

// A program that stops answering must not freeze the mouse for everybody: a press waits for its
// report only briefly, then goes through.
TEST_F(HookModule, AWindowThatDoesNotAnswerDelaysAPressOnlyBriefly)
{
    HANDLE thread = CreateThread(nullptr, 0, RunStalledWindow, nullptr, 0, nullptr);
    while (!stalledWindow && WaitForSingleObject(thread, 5) == WAIT_TIMEOUT)
        continue;
    ASSERT_TRUE(stalledWindow && capture(stalledWindow, TWM_HOOK_EVENT));
    const DWORD start = GetTickCount();
    Input("L+");
    const DWORD elapsed = GetTickCount() - start;
    Input("L-");
    SetEvent(finish);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    EXPECT_LT(elapsed, 1000u) << "milliseconds the press took";
    EXPECT_EQ(seen, (Lines{kLeftDown, kLeftUp}));
}

// The program looks both names up undecorated, and refuses a module without Release. Listed: the
// names each module exports, then how many functions it exports in all, named or not.
TEST(HookModuleExports, AreExactlyTheNamesTheProgramLooksUp)
{
    const std::pair<const char*, Lines> cases[] = {
        {SCRIVANE_HOOK_DLL, {"Capture", "Release", "2 in all"}},
#ifdef SCRIVANE_FIXTURE_DLL
        {SCRIVANE_FIXTURE_DLL, {"Capture", "1 in all"}},
#endif
    };
    for (const auto& [path, expected] : cases) {
        HMODULE module = LoadLibraryA(WindowsPath(path).c_str());
        ASSERT_NE(module, nullptr) << path << ": error " << GetLastError();
        const auto* base = reinterpret_cast<const BYTE*>(module);
        const LONG ntAt = reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew;
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + ntAt);
        const DWORD at = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress;
        ASSERT_NE(at, 0u) << path << " exports nothing";
        const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + at);
        const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
        Lines listed;
        for (DWORD i = 0; i < exports->NumberOfNames; ++i)
            listed.push_back(reinterpret_cast<const char*>(base + names[i]));
        listed.push_back(std::to_string(exports->NumberOfFunctions) + " in all");
        EXPECT_EQ(listed, expected) << path;
        FreeLibrary(module);
    }
}

} // namespace
