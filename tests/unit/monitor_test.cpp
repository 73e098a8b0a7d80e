// With or without the multi-monitor functions, the answers must describe the test display, one
// screen at (0,0), as the system does.
#include <gtest/gtest.h>

#include <cstring>

#include "shell/base/monitor.h"
#include "shell/base/platform.h"

static BOOL WINAPI NoMonitorInfo(HMONITOR, LPMONITORINFO) { return FALSE; }
TEST(MonitorLookup, DescribesThePrimaryScreenWithOrWithoutTheMultiMonitorFunctions)
{
    const PlatformFunctions saved = Platform;
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    RECT work, screen = {0, 0, width, height};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (const char* path : {"multi-monitor", "fallback"}) {
        if (*path == 'f')
            Platform.user32Function = [](const char*) -> FARPROC { return nullptr; };
        ResetMonitorLookup();
        const RECT virtualScreen = {MonitorMetric(SM_XVIRTUALSCREEN), MonitorMetric(SM_YVIRTUALSCREEN),
                                    MonitorMetric(SM_CXVIRTUALSCREEN), MonitorMetric(SM_CYVIRTUALSCREEN)};  // origin, size
        EXPECT_TRUE(EqualRect(&virtualScreen, &screen)) << path;
        EXPECT_EQ(MonitorMetric(SM_CXSMICON), GetSystemMetrics(SM_CXSMICON)) << path << ": other metrics pass through";
        MONITORINFOEXA info = {};
        info.cbSize = sizeof(info);
        EXPECT_TRUE(MonitorInfo(MonitorNearestPoint({-5000, 100000}), &info)) << path << ": a far point's nearest";
        EXPECT_TRUE(EqualRect(&info.rcMonitor, &screen) && EqualRect(&info.rcWork, &work)) << path;
        EXPECT_EQ(info.dwFlags, DWORD(MONITORINFOF_PRIMARY)) << path;
        EXPECT_EQ(std::strcmp(info.szDevice, "DISPLAY") == 0, *path == 'f') << path << ": " << info.szDevice;
    }
    // Regression: when the monitor could not be asked, "Config" placed the options off every screen.
    Platform.user32Function = [](const char* name) {
        return std::strcmp(name, "GetMonitorInfoA") ? SystemPlatform().user32Function(name) : FARPROC(reinterpret_cast<void*>(NoMonitorInfo));
    };
    ResetMonitorLookup();
    const RECT area = MonitorUnderPointer().work;
    EXPECT_TRUE(EqualRect(&area, &work)) << "the primary work area: " << area.left << "," << area.top;
    Platform = saved;
    ResetMonitorLookup();
}
