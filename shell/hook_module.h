// The optional mouse-hook module "Scrivane.dll" beside the executable. With it, a right press while
// the middle button is held starts a session from anywhere.
#pragma once
#include <windows.h>

// Loads the module once, from the executable's own folder only, and keeps it only when it exports
// both Capture and Release. Registers its release and unloading for process exit.
void LoadHookModule();

bool HookModuleLoaded();

// Capture(window, TWM_HOOK_EVENT) and Release(); nothing without the module.
void StartMouseHook(HWND window);
void StopMouseHook();

// The module's full path: the folder of the running executable plus "Scrivane.dll". Empty when the
// result would not fit.
bool HookModulePath(char (&path)[MAX_PATH]);
