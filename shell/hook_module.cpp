#include "shell/hook_module.h"

#include <cstdlib>

#include "shell/base/messages.h"
#include "shell/exe_path.h"

namespace {

using CaptureFn = BOOL(WINAPI*)(HWND, UINT);
using ReleaseFn = BOOL(WINAPI*)();

HMODULE hookModule;
CaptureFn captureFn;
ReleaseFn releaseFn;
bool attempted;

template <typename Fn>
Fn Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void UnloadHookModule()
{
    if (hookModule == nullptr)
        return;
    releaseFn();
    FreeLibrary(hookModule);
    hookModule = nullptr;
}

}  // namespace

bool HookModulePath(char (&path)[MAX_PATH])
{
    // The folder is found by the same double-byte rules as the settings file: a Shift-JIS name can
    // hold a trail byte that looks like a backslash.
    return ModuleSiblingFile("Scrivane.dll", path);
}

void LoadHookModule()
{
    if (attempted)
        return;
    attempted = true;
    // A full path, so that a Scrivane.dll in the current folder or on PATH is never picked up.
    char path[MAX_PATH];
    if (HookModulePath(path))
        hookModule = LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (hookModule != nullptr) {
        captureFn = Export<CaptureFn>(hookModule, "Capture");
        releaseFn = Export<ReleaseFn>(hookModule, "Release");
        if (captureFn == nullptr || releaseFn == nullptr) {
            FreeLibrary(hookModule);
            hookModule = nullptr;
        }
    }
    std::atexit(UnloadHookModule);
}

bool HookModuleLoaded()
{
    return hookModule != nullptr;
}

void StartMouseHook(HWND window)
{
    if (hookModule != nullptr)
        captureFn(window, TWM_HOOK_EVENT);
}

void StopMouseHook()
{
    if (hookModule != nullptr)
        releaseFn();
}
