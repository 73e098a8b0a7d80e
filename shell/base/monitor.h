// Geometry queries that use the multi-monitor functions when the system has all of them and fall
// back to single-screen answers otherwise. Decided once, at the first query.
#pragma once
#include <windows.h>

// The pseudo-handle of the one monitor the fallback knows.
constexpr UINT_PTR kFallbackMonitor = 0x12340042;

// GetSystemMetrics, with the virtual-screen indices (76..79) answered for the primary screen at
// (0, 0) when the multi-monitor functions are missing.
int MonitorMetric(int index);

// The monitor nearest to the point.
HMONITOR MonitorNearestPoint(POINT p);

// GetMonitorInfoA; the caller sets cbSize (40, or 72 for the extended record) and zeroes the rest.
bool MonitorInfo(HMONITOR monitor, MONITORINFO* info);

// Where the pointer is, the monitor nearest to it and that monitor's rectangles. When the monitor
// cannot be asked (the query failed or answered an empty work area) the rectangles are the primary
// screen's, so that a window or menu placed by them lands on a screen.
struct PointerMonitor {
    POINT pointer;
    HMONITOR monitor;
    RECT area;
    RECT work;
};
PointerMonitor MonitorUnderPointer();

// Forgets the decision: the next query looks the functions up again (through the platform table,
// which a test may have changed).
void ResetMonitorLookup();
