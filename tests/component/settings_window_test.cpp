// The settings window as the program creates it: its tray icon, and the icon's return after the
// shell restarts.
#include <gtest/gtest.h>

#include "shell/exe_path.h"
#include "shell/messages.h"
#include "shell/settings.h"
#include "shell/settings_window_state.h"
#include "shell/tray_icon.h"
#include "shell/settings_window.h"

namespace {

class SettingsWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Settings = SettingsRecord();
        window = CreateSettingsWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override
    {
        char cfg[kPathCapacity];
        DestroyWindow(window);
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // posted by the destruction
        if (SiblingPath(".cfg", cfg))
            DeleteFileA(cfg);  // written beside the test program by the destruction
    }
    // Whether the shell still knows the icon: only a known icon can be modified.
    bool ShellKnowsTheIcon()
    {
        NOTIFYICONDATAA probe = notifyIcon;
        probe.uFlags = NIF_TIP;
        return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
    }
    HWND window = nullptr;
};

TEST_F(SettingsWindow, StartsHiddenWithItsIconAndTip)
{
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(trayMode);
    EXPECT_TRUE(trayIconAdded);
    EXPECT_STREQ(notifyIcon.szTip, "Scrivane");
    EXPECT_EQ(notifyIcon.uCallbackMessage, TWM_TRAY_NOTIFY);
    EXPECT_EQ(notifyIcon.uID, TRAY_ICON_ID);
    EXPECT_TRUE(ShellKnowsTheIcon());
    EXPECT_NE(trayMenu, nullptr);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 190);
}

TEST_F(SettingsWindow, IconComesBackWhenTheShellRestarts)
{
    // What a restarted shell looks like from here: the icon is gone, then TaskbarCreated arrives.
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &notifyIcon));
    ASSERT_FALSE(ShellKnowsTheIcon());
    SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(ShellKnowsTheIcon());
    EXPECT_TRUE(trayIconAdded);

    // The message also comes when the icon survived: it stays, once.
    SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(trayIconAdded) << "an icon that is still there is kept, so that Exit removes it";
    EXPECT_TRUE(ShellKnowsTheIcon());
}

}  // namespace
