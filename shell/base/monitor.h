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

// The monitor's work area; the primary screen's when the monitor cannot be asked (the query failed
// or answered an empty area), so that a window placed in it lands on a screen.
RECT WorkAreaOf(HMONITOR monitor);

// Forgets the decision: the next query looks the functions up again (through the platform table,
// which a test may have changed).
void ResetMonitorLookup();
