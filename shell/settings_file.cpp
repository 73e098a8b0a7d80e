#include "shell/settings_file.h"

#include <cstring>

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
    char temporary[kPathCapacity + 8];
    const size_t length = std::strlen(path);
    if (length + 5 > sizeof(temporary))
        return false;
    std::memcpy(temporary, path, length);
    std::memcpy(temporary + length, ".new", 5);

    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool complete = WriteFile(file, &record, sizeof(record), &written, nullptr) && written == sizeof(record);
    const bool flushed = complete && FlushFileBuffers(file);
    CloseHandle(file);
    if (flushed && MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary);
    return false;
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
