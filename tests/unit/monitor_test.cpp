#include <gtest/gtest.h>

#include <cstring>

#include "shell/monitor.h"
#include "support/platform_override.h"

namespace {

// The multi-monitor functions as a system without them answers.
void PretendMultiMonitorMissing()
{
    Platform.user32Function = [](const char*) -> FARPROC { return nullptr; };
    ResetMonitorLookup();
}

class MonitorLookup : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (GetParam())
            PretendMultiMonitorMissing();
    }
    PlatformOverride platform;
    bool fallback() const { return GetParam(); }
};

TEST_P(MonitorLookup, VirtualScreenCoversThePrimaryScreenAtLeast)
{
    // The test display is one screen at (0,0); both paths must describe it the same way.
    EXPECT_EQ(MonitorMetric(SM_XVIRTUALSCREEN), 0);
    EXPECT_EQ(MonitorMetric(SM_YVIRTUALSCREEN), 0);
    EXPECT_EQ(MonitorMetric(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(MonitorMetric(SM_CYVIRTUALSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(MonitorMetric(SM_CXSMICON), GetSystemMetrics(SM_CXSMICON)) << "other metrics pass through";
}

TEST_P(MonitorLookup, NearestMonitorDescribesThePrimaryScreen)
{
    HMONITOR monitor = MonitorNearestPoint({50, 50});
    ASSERT_NE(monitor, nullptr);
    if (fallback()) {
        EXPECT_EQ(reinterpret_cast<UINT_PTR>(monitor), kFallbackMonitor);
    }

    MONITORINFOEXA info;
    std::memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    ASSERT_TRUE(MonitorInfo(monitor, &info));
    EXPECT_EQ(info.rcMonitor.left, 0);
    EXPECT_EQ(info.rcMonitor.top, 0);
    EXPECT_EQ(info.rcMonitor.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(info.rcMonitor.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(info.dwFlags & MONITORINFOF_PRIMARY);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(EqualRect(&info.rcWork, &work)) << "work area";
    if (fallback()) {
        EXPECT_STREQ(info.szDevice, "DISPLAY");
    }

    EXPECT_EQ(MonitorNearestPoint({-5000, 100000}), monitor) << "far points map to the nearest, here the only one";
}

INSTANTIATE_TEST_SUITE_P(BothPaths, MonitorLookup, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& p) { return p.param ? "Fallback" : "MultiMonitor"; });

TEST(MonitorFallback, RefusesWhatItCannotAnswer)
{
    PlatformOverride platform;
    PretendMultiMonitorMissing();
    MONITORINFO info;
    std::memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info) - 1;
    EXPECT_FALSE(MonitorInfo(reinterpret_cast<HMONITOR>(kFallbackMonitor), &info)) << "record too small";
    EXPECT_EQ(info.rcMonitor.right, 0) << "record left untouched";
    info.cbSize = sizeof(info);
    EXPECT_FALSE(MonitorInfo(reinterpret_cast<HMONITOR>(kFallbackMonitor + 1), &info)) << "not the pseudo-handle";
    EXPECT_EQ(info.rcMonitor.right, 0);
    EXPECT_FALSE(MonitorInfo(reinterpret_cast<HMONITOR>(kFallbackMonitor), nullptr));

    MONITORINFO plain;
    std::memset(&plain, 0, sizeof(plain));
    plain.cbSize = sizeof(plain);
    EXPECT_TRUE(MonitorInfo(reinterpret_cast<HMONITOR>(kFallbackMonitor), &plain)) << "the 40-byte record, no name";
}

}  // namespace
