// Scrivane.dll as the program uses it: loaded by path, Capture(window, message) from this thread,
// real input injected with SendInput while the thread pumps. A hidden window takes the reports and
// a visible one lies under the pointer; both record what reaches them as readable lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/messages.h"

namespace {

using CaptureProc = BOOL(WINAPI*)(HWND, UINT);
using ReleaseProc = BOOL(WINAPI*)();

// GetProcAddress's FARPROC, as the function type the export really has.
template <class Proc> Proc Lookup(HMODULE module, const char* name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// A bare Unix path loads only while the current drive happens to be Z:, Wine's drive for the whole
// Unix tree; name the drive so the test does not depend on where it was started.
std::string WindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    std::string result = "Z:" + path;
    for (char& c : result)
        if (c == '/')
            c = '\\';
    return result;
}

const char* MouseMessageName(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP: return "WM_RBUTTONUP";
    case WM_MBUTTONDOWN: return "WM_MBUTTONDOWN";
    case WM_MBUTTONUP: return "WM_MBUTTONUP";
    case WM_XBUTTONDOWN: return "WM_XBUTTONDOWN";
    case WM_XBUTTONUP: return "WM_XBUTTONUP";
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_MOUSEWHEEL: return "WM_MOUSEWHEEL";
    default: return "?";
    }
}

bool IsButtonMessage(UINT message)
{
    return message >= WM_LBUTTONDOWN && message <= WM_XBUTTONDBLCLK && message != WM_MOUSEWHEEL;
}

// What the windows saw, in order: "reporter: 2024 WM_XBUTTONDOWN 2" (message, low word of wParam,
// high word if any) and "target: WM_RBUTTONUP".
std::vector<std::string> seen;
HWND reporter, otherReporter, target;
// The program's answer to every report; it gives 1 only for the right press that starts a session.
LRESULT answer;

std::string Label(HWND window)
{
    return window == reporter ? "reporter" : window == otherReporter ? "other reporter" : "target";
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER) {
        std::string line = Label(window) + ": " + std::to_string(message) + " " + MouseMessageName(LOWORD(wParam));
        if (HIWORD(wParam))
            line += " " + std::to_string(HIWORD(wParam));
        seen.push_back(line);
        return answer;
    }
    if (IsButtonMessage(message))
        seen.push_back(Label(window) + ": " + MouseMessageName(message));
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(DWORD style, int x, int y)
{
    static const bool registered = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = L"ScrivaneHookTest";
        return RegisterClassW(&wc) != 0;
    }();
    if (!registered)
        return nullptr;
    return CreateWindowExW(WS_EX_TOPMOST, L"ScrivaneHookTest", L"", style, x, y, 240, 180, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// Runs this thread's messages, and with them the low-level hook, for a while.
void Pump(DWORD ms = 60)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

void Inject(DWORD flags, DWORD data = 0, LONG dx = 0, LONG dy = 0)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.mouseData = data;
    input.mi.dwFlags = flags;
    ASSERT_EQ(SendInput(1, &input, sizeof(input)), 1u) << "error " << GetLastError();
    Pump();
}

void MoveTo(POINT screen)
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    Inject(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, (screen.x * 65536 + width / 2) / width,
           (screen.y * 65536 + height / 2) / height);
}

struct Button {
    const char* name;
    DWORD down, up, data;
    const char* report;  // what the reporter should see for the press
    const char* press;   // and the target, for the press and the release
    const char* release;
};

const Button kButtons[] = {
    {"left", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0, "reporter: 2024 WM_LBUTTONDOWN", "target: WM_LBUTTONDOWN",
     "target: WM_LBUTTONUP"},
    {"right", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0, "reporter: 2024 WM_RBUTTONDOWN",
     "target: WM_RBUTTONDOWN", "target: WM_RBUTTONUP"},
    {"middle", MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0, "reporter: 2024 WM_MBUTTONDOWN",
     "target: WM_MBUTTONDOWN", "target: WM_MBUTTONUP"},
    {"X1", MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1, "reporter: 2024 WM_XBUTTONDOWN 1", "target: WM_XBUTTONDOWN",
     "target: WM_XBUTTONUP"},
    {"X2", MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON2, "reporter: 2024 WM_XBUTTONDOWN 2", "target: WM_XBUTTONDOWN",
     "target: WM_XBUTTONUP"},
};
const Button& kLeft = kButtons[0];
const Button& kRight = kButtons[1];
const Button& kMiddle = kButtons[2];

void Press(const Button& b) { Inject(b.down, b.data); }
void Lift(const Button& b) { Inject(b.up, b.data); }
void Click(const Button& b)
{
    Press(b);
    Lift(b);
}

using Lines = std::vector<std::string>;

class HookModule : public ::testing::Test {
protected:
    void SetUp() override
    {
        module = LoadLibraryA(WindowsPath(SCRIVANE_HOOK_DLL).c_str());
        ASSERT_NE(module, nullptr) << SCRIVANE_HOOK_DLL << ": error " << GetLastError();
        capture = Lookup<CaptureProc>(module, "Capture");
        release = Lookup<ReleaseProc>(module, "Release");
        ASSERT_NE(capture, nullptr);
        ASSERT_NE(release, nullptr);

        reporter = MakeWindow(WS_POPUP, 0, 0);
        otherReporter = MakeWindow(WS_POPUP, 0, 0);
        target = MakeWindow(WS_POPUP | WS_VISIBLE, 200, 150);
        ASSERT_TRUE(reporter && otherReporter && target);
        answer = 0;
        MoveTo(POINT{320, 240});
        ASSERT_EQ(WindowFromPoint(POINT{320, 240}), target);
        seen.clear();
    }

    void TearDown() override
    {
        if (module) {
            release();
            FreeLibrary(module);
        }
        DestroyWindow(target);
        DestroyWindow(otherReporter);
        DestroyWindow(reporter);
        Pump(10);
    }

    HMODULE module = nullptr;
    CaptureProc capture = nullptr;
    ReleaseProc release = nullptr;
};

// ---- What is reported

TEST_F(HookModule, EveryButtonPressIsReportedOnceWithItsMessageInTheLowWord)
{
    ASSERT_TRUE(capture(reporter, TWM_HOOK_EVENT));
    for (const Button& b : kButtons) {
        seen.clear();
        Click(b);
        EXPECT_EQ(seen, (Lines{b.report, b.press, b.release})) << b.name << " click";
    }
}

TEST_F(HookModule, MovesAndTheWheelAreNotReported)
{
    ASSERT_TRUE(capture(reporter, TWM_HOOK_EVENT));
    MoveTo(POINT{250, 200});
    MoveTo(POINT{400, 300});
    Inject(MOUSEEVENTF_WHEEL, static_cast<DWORD>(WHEEL_DELTA));
    Inject(MOUSEEVENTF_MOVE, 0, 5, 5);
    EXPECT_EQ(seen, Lines{});
}

// ---- Capture and Release in the orders the program uses them

TEST_F(HookModule, ReleaseStopsTheReportsAndCaptureStartsThemAgain)
{
    ASSERT_TRUE(capture(reporter, TWM_HOOK_EVENT));
    release();
    Click(kLeft);
    EXPECT_EQ(seen, (Lines{kLeft.press, kLeft.release})) << "after Release";

    seen.clear();
    ASSERT_TRUE(capture(reporter, TWM_HOOK_EVENT));
    Click(kLeft);
    EXPECT_EQ(seen, (Lines{kLeft.report, kLeft.press, kLeft.release})) << "after Capture again";
}

TEST_F(HookModule, ReleaseWithoutCaptureIsHarmlessAndCaptureStillWorks)
{
    release();
    release();
    Click(kLeft);
    EXPECT_EQ(seen, (Lines{kLeft.press, kLeft.release}));

    seen.clear();
    ASSERT_TRUE(capture(reporter, TWM_HOOK_EVENT));
    Click(kLeft);
    EXPECT_EQ(seen, (Lines{kLeft.report, kLeft.press, kLeft.release}));
}

TEST_F(HookModule, CaptureTwiceKeepsOneHookAndReportsToTheLatestWindowAndMessage)
{
    ASSERT_TRUE(capture(reporter, TWM_HOOK_EVENT));
    ASSERT_TRUE(capture(reporter, TWM_HOOK_EVENT));
    Click(kLeft);
    EXPECT_EQ(seen, (Lines{kLeft.report, kLeft.press, kLeft.release})) << "same window twice";

    seen.clear();
    ASSERT_TRUE(capture(otherReporter, TWM_HOOK_EVENT + 1));
    Click(kMiddle);
    EXPECT_EQ(seen, (Lines{"other reporter: 2025 WM_MBUTTONDOWN", kMiddle.press, kMiddle.release}))
        << "another window and message";
}

// Windows crashes the process when it calls a hook whose code is gone. Wine catches the fault and
// carries on, so here the leak shows only as access violations while the buttons are pressed.
LONG accessViolations;

LONG CALLBACK CountAccessViolation(EXCEPTION_POINTERS* exception)
{
    if (exception->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
        ++accessViolations;
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST_F(HookModule, UnloadingWithoutReleaseRemovesTheHook)
{
    ASSERT_TRUE(capture(reporter, TWM_HOOK_EVENT));
    ASSERT_TRUE(FreeLibrary(module));
    module = nullptr;
    ASSERT_EQ(GetModuleHandleA("Scrivane.dll"), nullptr) << "still loaded after FreeLibrary";

    accessViolations = 0;
    void* handler = AddVectoredExceptionHandler(1, CountAccessViolation);
    Click(kLeft);
    RemoveVectoredExceptionHandler(handler);
    EXPECT_EQ(accessViolations, 0) << "faults while calling the hook";
    EXPECT_EQ(seen, (Lines{kLeft.press, kLeft.release}));
}

// A window on a thread that has stopped pumping, as a hung program's would be.
struct StalledWindow {
    HWND window = nullptr;
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE finish = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~StalledWindow()
    {
        CloseHandle(finish);
        CloseHandle(ready);
    }
};

DWORD WINAPI RunStalledWindow(void* parameter)
{
    auto* stalled = static_cast<StalledWindow*>(parameter);
    stalled->window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetEvent(stalled->ready);
    WaitForSingleObject(stalled->finish, 5000);
    DestroyWindow(stalled->window);
    return 0;
}

// A program that stops answering must not freeze the mouse for everybody: a press waits for its
// report only briefly, then goes through.
TEST_F(HookModule, AWindowThatDoesNotAnswerDelaysAPressOnlyBriefly)
{
    StalledWindow stalled;
    HANDLE thread = CreateThread(nullptr, 0, RunStalledWindow, &stalled, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(stalled.ready, 5000);
    ASSERT_NE(stalled.window, nullptr);
    ASSERT_TRUE(capture(stalled.window, TWM_HOOK_EVENT));

    const DWORD start = GetTickCount();
    Press(kLeft);
    const DWORD elapsed = GetTickCount() - start;
    Lift(kLeft);
    SetEvent(stalled.finish);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);

    EXPECT_LT(elapsed, 1000u) << "milliseconds the press took";
    EXPECT_EQ(seen, (Lines{kLeft.press, kLeft.release}));
}

// ---- The right press that starts a session

TEST_F(HookModule, ARightPressThatStartsASessionIsSwallowedWithItsRelease)
{
    ASSERT_TRUE(capture(reporter, TWM_HOOK_EVENT));
    answer = 1;
    Press(kMiddle);
    Click(kRight);
    Lift(kMiddle);
    EXPECT_EQ(seen, (Lines{kMiddle.report, kMiddle.press, kRight.report, kMiddle.release}));
    EXPECT_FALSE(GetAsyncKeyState(VK_RBUTTON) & 0x8000) << "the system thinks the right button is held";
    EXPECT_FALSE(GetAsyncKeyState(VK_MBUTTON) & 0x8000) << "the system thinks the middle button is held";
}

TEST_F(HookModule, RightPressesAnsweredZeroReachTheWindowUnderThePointer)
{
    ASSERT_TRUE(capture(reporter, TWM_HOOK_EVENT));
    answer = 0;
    Click(kRight);
    EXPECT_EQ(seen, (Lines{kRight.report, kRight.press, kRight.release}));
}

// Regression guard: only the release of a swallowed press may be swallowed, or the next ordinary
// right click would lose its release and leave the application with the button held.
TEST_F(HookModule, TheRightClickAfterASwallowedOneGoesThroughWhole)
{
    ASSERT_TRUE(capture(reporter, TWM_HOOK_EVENT));
    answer = 1;
    Click(kRight);
    answer = 0;
    seen.clear();
    Click(kRight);
    EXPECT_EQ(seen, (Lines{kRight.report, kRight.press, kRight.release}));
    EXPECT_FALSE(GetAsyncKeyState(VK_RBUTTON) & 0x8000) << "the system thinks the right button is held";
}

// Only a right press starts a session; the answer to any other press swallows nothing.
TEST_F(HookModule, OtherPressesAreNeverSwallowed)
{
    ASSERT_TRUE(capture(reporter, TWM_HOOK_EVENT));
    answer = 1;
    Click(kLeft);
    Click(kMiddle);
    EXPECT_EQ(seen, (Lines{kLeft.report, kLeft.press, kLeft.release, kMiddle.report, kMiddle.press,
                           kMiddle.release}));
}

// ---- The exports the program looks up

Lines ExportedNames(HMODULE module, DWORD* functionCount)
{
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    *functionCount = 0;
    if (!directory.VirtualAddress)
        return {};
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    *functionCount = exports->NumberOfFunctions;
    Lines result;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        result.push_back(reinterpret_cast<const char*>(base + names[i]));
    return result;
}

struct ExportCase {
    const char* why;
    const char* path;
    Lines names;
};

TEST(HookModuleExports, AreExactlyTheNamesTheProgramLooksUp)
{
    const ExportCase cases[] = {
        {"the module", SCRIVANE_HOOK_DLL, {"Capture", "Release"}},
#ifdef SCRIVANE_FIXTURE_DLL
        {"the fixture without Release", SCRIVANE_FIXTURE_DLL, {"Capture"}},
#endif
    };
    for (const ExportCase& c : cases) {
        HMODULE module = LoadLibraryA(WindowsPath(c.path).c_str());
        ASSERT_NE(module, nullptr) << c.why << ": " << c.path << ": error " << GetLastError();
        DWORD functionCount = 0;
        EXPECT_EQ(ExportedNames(module, &functionCount), c.names) << c.why;
        EXPECT_EQ(functionCount, c.names.size()) << c.why << ": exports without a name";
        for (const char* name : {"Capture", "Release"}) {
            const bool expected = std::find(c.names.begin(), c.names.end(), name) != c.names.end();
            EXPECT_EQ(GetProcAddress(module, name) != nullptr, expected) << c.why << ": GetProcAddress " << name;
        }
        FreeLibrary(module);
    }
}

} // namespace
