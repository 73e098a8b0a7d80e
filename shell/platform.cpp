#include "shell/platform.h"

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

FARPROC User32Function(const char* name)
{
    HMODULE user32 = GetModuleHandleA("USER32");
    return user32 ? GetProcAddress(user32, name) : nullptr;
}

}  // namespace

PlatformFunctions SystemPlatform()
{
    return PlatformFunctions{SleepFor, SendPrintScreenPress, CursorPos, AsyncKeyState, KeyboardState, User32Function,
                             WriteWholeFile};
}

PlatformFunctions Platform = SystemPlatform();
