// A mouse-hook module with both exports that never works: Capture sets no hook and answers FALSE,
// as a module would whose hook the system refuses. The program must run on without the gesture.
#include <windows.h>

extern "C" __declspec(dllexport) BOOL WINAPI Capture(HWND, UINT)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

extern "C" __declspec(dllexport) BOOL WINAPI Release()
{
    return FALSE;
}
