// The system calls whose answers depend on the moment or on the machine: the waits, the synthetic
// key press of the clipboard capture, the pointer and the keys, where the multi-monitor functions
// come from, the scaling of each monitor, the temporary names each system allows, and the pens it
// may refuse when its objects run out. Everything goes through this one table, and a test that needs
// another answer replaces an entry (and puts it back).
#pragma once
#include <windows.h>

struct PlatformFunctions {
    void (*sleep)(DWORD milliseconds);            // the clipboard retries
    bool (*pressPrintScreen)();                   // asks the system for a picture on the clipboard
    BOOL (*getCursorPos)(POINT* p);               // screen coordinates
    SHORT (*getAsyncKeyState)(int virtualKey);    // the physical state, for the mouse-hook gesture
    BOOL (*getKeyboardState)(BYTE* keys);         // this thread's state, for the pen keys
    FARPROC (*user32Function)(const char* name);  // null: the function is missing on this system
    BOOL (*writeFile)(HANDLE file, const void* bytes, DWORD size, DWORD* written);  // the files we save
    UINT (*monitorDpi)(HMONITOR monitor);                                           // 96 at 100 % scaling
    // GetTempFileNameA. Windows refuses a folder longer than MAX_PATH - 14 characters; Wine does not.
    bool (*tempFileName)(const char* folder, const char* prefix, char (&name)[MAX_PATH]);
    HPEN (*extCreatePen)(DWORD style, DWORD width, const LOGBRUSH* brush);  // no user style entries
};

extern PlatformFunctions Platform;

// The real functions, for a test to put back.
PlatformFunctions SystemPlatform();
