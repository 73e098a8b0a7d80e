#include "shell/base/monitor.h"

#include <cstring>

#include "shell/base/platform.h"

namespace {

using GetSystemMetricsFn = int(WINAPI*)(int);
using MonitorFromPointFn = HMONITOR(WINAPI*)(POINT, DWORD);
using GetMonitorInfoFn = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);

struct MultiMonitorApi {
    bool decided = false;
    bool available = false;
    GetSystemMetricsFn getSystemMetrics = nullptr;
    MonitorFromPointFn monitorFromPoint = nullptr;
    GetMonitorInfoFn getMonitorInfo = nullptr;
};

MultiMonitorApi api;

template <typename Fn>
Fn Lookup(const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(Platform.user32Function(name)));
}

const MultiMonitorApi& Api()
{
    if (api.decided)
        return api;
    api.decided = true;
    // All seven or none: a system with only some of them is treated as single-screen.
    const bool allPresent =
        Platform.user32Function("MonitorFromWindow") && Platform.user32Function("MonitorFromRect") &&
        Platform.user32Function("EnumDisplayMonitors") && Platform.user32Function("EnumDisplayDevicesA");
    api.getSystemMetrics = Lookup<GetSystemMetricsFn>("GetSystemMetrics");
    api.monitorFromPoint = Lookup<MonitorFromPointFn>("MonitorFromPoint");
    api.getMonitorInfo = Lookup<GetMonitorInfoFn>("GetMonitorInfoA");
    api.available = allPresent && api.getSystemMetrics && api.monitorFromPoint && api.getMonitorInfo;
    if (!api.available) {
        api.getSystemMetrics = nullptr;
        api.monitorFromPoint = nullptr;
        api.getMonitorInfo = nullptr;
    }
    return api;
}

bool FallbackMonitorInfo(HMONITOR monitor, MONITORINFO* info)
{
    if (reinterpret_cast<UINT_PTR>(monitor) != kFallbackMonitor || info == nullptr ||
        info->cbSize < sizeof(MONITORINFO))
        return false;
    RECT work;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        return false;
    info->rcMonitor = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    info->rcWork = work;
    info->dwFlags = MONITORINFOF_PRIMARY;
    if (info->cbSize >= sizeof(MONITORINFOEXA))
        std::strcpy(reinterpret_cast<MONITORINFOEXA*>(info)->szDevice, "DISPLAY");
    return true;
}

}  // namespace

int MonitorMetric(int index)
{
    const MultiMonitorApi& a = Api();
    if (a.available)
        return a.getSystemMetrics(index);
    switch (index) {
    case SM_CXVIRTUALSCREEN: return GetSystemMetrics(SM_CXSCREEN);
    case SM_CYVIRTUALSCREEN: return GetSystemMetrics(SM_CYSCREEN);
    default:
        // The virtual screen's origin is the primary screen's corner.
        return index <= SM_YVIRTUALSCREEN && index >= SM_XVIRTUALSCREEN ? 0 : GetSystemMetrics(index);
    }
}

HMONITOR MonitorNearestPoint(POINT p)
{
    const MultiMonitorApi& a = Api();
    if (a.available)
        return a.monitorFromPoint(p, MONITOR_DEFAULTTONEAREST);
    return reinterpret_cast<HMONITOR>(kFallbackMonitor);
}

bool MonitorInfo(HMONITOR monitor, MONITORINFO* info)
{
    const MultiMonitorApi& a = Api();
    if (a.available)
        return a.getMonitorInfo(monitor, info) != FALSE;
    return FallbackMonitorInfo(monitor, info);
}

PointerMonitor MonitorUnderPointer()
{
    PointerMonitor m = {};
    Platform.getCursorPos(&m.pointer);
    m.monitor = MonitorNearestPoint(m.pointer);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (MonitorInfo(m.monitor, &info) && !IsRectEmpty(&info.rcWork)) {
        m.area = info.rcMonitor;
        m.work = info.rcWork;
        return m;
    }
    m.area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    m.work = m.area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &m.work, 0);
    return m;
}

void ResetMonitorLookup()
{
    api = MultiMonitorApi{};
}
