#include "shell/settings_file.h"

#include <cstring>

#include "shell/base/safe_file.h"
#include "shell/exe_path.h"

bool LoadSettingsFrom(const char* path, SettingsRecord& record)
{
    if (path == nullptr || path[0] == '\0')
        return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;

    bool taken = false;
    DWORD sizeHigh = 0;
    const DWORD sizeLow = GetFileSize(file, &sizeHigh);
    if (!(sizeLow == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)) {
        const uint64_t size = (static_cast<uint64_t>(sizeHigh) << 32) | sizeLow;
        const size_t wanted = SettingsBytesToRead(size);
        if (wanted != 0) {
            unsigned char bytes[sizeof(SettingsRecord)];
            DWORD delivered = 0;
            if (ReadFile(file, bytes, static_cast<DWORD>(wanted), &delivered, nullptr))
                taken = SettingsFromFileBytes(bytes, wanted, delivered, record);
        }
    }
    CloseHandle(file);
    return taken;
}

bool SaveSettingsTo(const char* path, const SettingsRecord& record)
{
    if (path == nullptr || path[0] == '\0')
        return false;
    // A portable copy may sit in a folder the user cannot write to, with a settings file they can:
    // then the file is written in place.
    const FileChunk whole = {&record, sizeof(record)};
    return ReplaceFileWith(path, &whole, 1);
}

void LoadSettings()
{
    char path[kPathCapacity];
    if (SiblingPath(".cfg", path))
        LoadSettingsFrom(path, Settings);
}

void SaveSettings()
{
    char path[kPathCapacity];
    if (SiblingPath(".cfg", path))
        SaveSettingsTo(path, Settings);
}
