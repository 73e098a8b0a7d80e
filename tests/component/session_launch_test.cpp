// Starting and ending sessions from the settings window's side: the launch delay, a launch during
// a session, the hot key, and what a session end does in each mode.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "shell/messages.h"
#include "shell/session_launch.h"
#include "shell/settings.h"
#include "shell/settings_window_state.h"
#include "support/paint_fixture.h"
#include "support/platform_override.h"

namespace {

std::vector<DWORD> waits;
void RecordWait(DWORD ms)
{
    waits.push_back(ms);
}

class Launch : public PaintWindowTest {
protected:
    PlatformOverride platform;
    void SetUp() override
    {
        PaintWindowTest::SetUp();
        trayInstance = GetModuleHandleA(nullptr);
        trayMode = true;
        paintWindow = nullptr;
        waits.clear();
        Platform.sleep = RecordWait;
        Settings.flags &= ~OPT_HOTKEY;  // most cases leave the system's hot keys alone
    }
    void TearDown() override
    {
        EndSession();
        UnregisterLaunchHotKey(owner);
        PaintWindowTest::TearDown();
    }
    void EndSession()
    {
        if (paintWindow == nullptr)
            return;
        DestroyWindow(paintWindow);
        ASSERT_TRUE(OwnerGotSessionEnded());
        OnSessionEnded(owner);
    }
};

TEST_F(Launch, DelayIsWaitedOnlyWhenAllowedAndSwitchedOn)
{
    struct Case {
        bool allowed;
        bool option;
        uint32_t delay;
        std::vector<DWORD> want;
        const char* why;
    } cases[] = {
        {true, true, 1, {1000}, "tray click or second start with Delayed Launching"},
        {false, true, 1, {}, "hot key and mouse hook never wait"},
        {true, false, 1, {}, "Delayed Launching off"},
        {true, true, 60, {60000}, "the longest delay the options allow"},
        {true, true, 4000000000u, {60000}, "a huge stored delay waits one minute, not a century"},
    };
    for (const Case& c : cases) {
        waits.clear();
        Settings.launchDelay = c.delay;
        Settings.flags = c.option ? (Settings.flags | OPT_DELAYED_LAUNCH) : (Settings.flags & ~OPT_DELAYED_LAUNCH);
        StartSession(owner, c.allowed);
        ASSERT_NE(paintWindow, nullptr) << c.why;
        EXPECT_TRUE(IsWindowVisible(paintWindow)) << c.why << ": shown after the capture";
        EXPECT_EQ(waits, c.want) << c.why;
        EndSession();
    }
}

TEST_F(Launch, CoversTheVirtualScreenAndIsOwnedByTheSettingsWindow)
{
    StartSession(owner, false);
    ASSERT_NE(paintWindow, nullptr);
    RECT r;
    GetWindowRect(paintWindow, &r);
    EXPECT_EQ(r.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_EQ(GetWindow(paintWindow, GW_OWNER), owner);
    EXPECT_TRUE(GetWindowLongA(paintWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindowLongA(paintWindow, GWL_STYLE) & (WS_POPUP | WS_CAPTION), LONG(WS_POPUP)) << "borderless";
}

TEST_F(Launch, LaunchDuringASessionIsIgnored)
{
    StartSession(owner, false);
    HWND first = paintWindow;
    ASSERT_NE(first, nullptr);
    StartSession(owner, true);
    EXPECT_EQ(paintWindow, first);
    EXPECT_TRUE(waits.empty()) << "not even the delay is waited";
    int sessions = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, kPaintClassName, nullptr); w; w = FindWindowExA(nullptr, w, kPaintClassName, nullptr))
        ++sessions;
    EXPECT_EQ(sessions, 1);
}

TEST_F(Launch, HotKeyIsReleasedForTheSessionAndTakenBackAfterIt)
{
    Settings.flags |= OPT_HOTKEY;
    Settings.launchHotKey = VK_F11 | (0x06 << 8);  // Ctrl+Alt+F11
    RegisterLaunchHotKey(owner);
    ASSERT_TRUE(hotKeyRegistered);
    EXPECT_FALSE(RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_ALT, VK_F11)) << "taken with the right modifiers";

    StartSession(owner, false);
    EXPECT_FALSE(hotKeyRegistered) << "free during the session";
    ASSERT_TRUE(RegisterHotKey(nullptr, 77, MOD_CONTROL | MOD_ALT, VK_F11)) << "really unregistered";
    UnregisterHotKey(nullptr, 77);

    EndSession();
    EXPECT_TRUE(hotKeyRegistered) << "taken back while the settings window is hidden";

    UnregisterLaunchHotKey(owner);
    ShowWindow(owner, SW_SHOWNA);
    StartSession(owner, false);
    EndSession();
    EXPECT_FALSE(hotKeyRegistered) << "left free while the options are open";
}

TEST_F(Launch, WithoutTheTraySessionEndEndsTheProgram)
{
    trayMode = false;
    StartSession(owner, false);
    ASSERT_NE(paintWindow, nullptr);
    DestroyWindow(paintWindow);
    ASSERT_TRUE(OwnerGotSessionEnded());
    OnSessionEnded(owner);
    EXPECT_EQ(paintWindow, nullptr);
    EXPECT_FALSE(IsWindow(owner)) << "the settings window is destroyed, which saves and quits";
}

LRESULT CALLBACK RefuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_CREATE ? -1 : DefWindowProcA(window, message, wParam, lParam);
}

// Stands in for the user: waits for the program's message box, reads it and presses OK.
std::string AnswerMessageBox()
{
    for (int i = 0; i < 250; ++i) {
        if (HWND box = FindWindowA("#32770", "Scrivane")) {
            char text[128] = {};
            GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return text;
        }
        Sleep(20);
    }
    return "(no message box)";
}

// A paint window that cannot be built (its surfaces do not fit) must not leave the program stuck:
// the user is told, and the program goes back to stand-by, or ends when there is no tray.
TEST_F(Launch, FailedCreationIsReportedAndTheProgramCarriesOn)
{
    HINSTANCE self = GetModuleHandleA(nullptr);
    WNDCLASSEXA refusing = {};
    refusing.cbSize = sizeof(refusing);
    refusing.lpfnWndProc = RefuseCreation;
    refusing.hInstance = self;
    refusing.lpszClassName = kPaintClassName;
    UnregisterClassA(kPaintClassName, self);  // registered by an earlier test of this program, or not yet
    ASSERT_TRUE(RegisterClassExA(&refusing));

    Settings.flags |= OPT_HOTKEY;
    Settings.launchHotKey = VK_F11 | (0x06 << 8);  // Ctrl+Alt+F11
    std::string text;
    std::thread user([&text] { text = AnswerMessageBox(); });
    StartSession(owner, true);
    user.join();
    EXPECT_EQ(text, "Failed to create main window");
    EXPECT_EQ(paintWindow, nullptr);
    EXPECT_TRUE(waits.empty()) << "no delay is waited for a session that cannot start";
    EXPECT_TRUE(hotKeyRegistered) << "back in stand-by: the hot key works again";
    EXPECT_TRUE(IsWindow(owner));

    trayMode = false;
    std::thread user2([&text] { text = AnswerMessageBox(); });
    StartSession(owner, true);
    user2.join();
    EXPECT_EQ(text, "Failed to create main window");
    EXPECT_FALSE(IsWindow(owner)) << "without the tray there is nothing to wait for: the program ends";

    UnregisterClassA(kPaintClassName, self);
    SetUpTestSuite();  // the real paint window class again
}

}  // namespace
