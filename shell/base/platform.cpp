#include "shell/base/platform.h"

namespace {

void SleepFor(DWORD milliseconds)
{
    Sleep(milliseconds);
}

bool SendPrintScreenPress()
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_SNAPSHOT;
    // A press only: the system takes its picture on the press, and no release is needed for it.
    return SendInput(1, &input, sizeof(INPUT)) == 1;
}

// Wrapped, so that the table holds plain functions that a test can replace with its own lambdas
// (the system's are stdcall on the 32-bit build).
BOOL CursorPos(POINT* p)
{
    return GetCursorPos(p);
}

SHORT AsyncKeyState(int virtualKey)
{
    return GetAsyncKeyState(virtualKey);
}

BOOL KeyboardState(BYTE* keys)
{
    return GetKeyboardState(keys);
}

BOOL WriteWholeFile(HANDLE file, const void* bytes, DWORD size, DWORD* written)
{
    return WriteFile(file, bytes, size, written, nullptr);
}

bool TempFileName(const char* folder, const char* prefix, char (&name)[MAX_PATH])
{
    return GetTempFileNameA(folder, prefix, 0, name) != 0;
}

HPEN GeometricPen(DWORD style, DWORD width, const LOGBRUSH* brush)
{
    return ExtCreatePen(style, width, brush, 0, nullptr);
}

FARPROC User32Function(const char* name)
{
    HMODULE user32 = GetModuleHandleA("USER32");
    return user32 ? GetProcAddress(user32, name) : nullptr;
}

// Each monitor's own scaling comes from GetDpiForMonitor (Windows 8.1 on). Before that, and for
// the single-screen fallback's pseudo-handle, the whole desktop has the one system DPI.
UINT MonitorDpi(HMONITOR monitor)
{
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    // From System32 only: a DLL of that name beside the executable must not be picked up.
    static const auto getDpiForMonitor = reinterpret_cast<GetDpiForMonitorFn>(reinterpret_cast<void*>([] {
        HMODULE shcore = LoadLibraryExA("shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return shcore ? GetProcAddress(shcore, "GetDpiForMonitor") : nullptr;
    }()));
    UINT x = 0, y = 0;
    if (getDpiForMonitor && SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && x != 0)
        return x;
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

PlatformFunctions SystemPlatform()
{
    return PlatformFunctions{SleepFor,       SendPrintScreenPress, CursorPos,  AsyncKeyState, KeyboardState,
                             User32Function, WriteWholeFile,       MonitorDpi, TempFileName,  GeometricPen};
}

PlatformFunctions Platform = SystemPlatform();
