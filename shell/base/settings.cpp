#include "shell/base/settings.h"

#include <cstring>

#include "shell/base/default_palette.h"

SettingsRecord Settings;

SettingsRecord::SettingsRecord()
{
    std::memset(this, 0, sizeof(*this));
    flags = kDefaultFlags;
    launchHotKey = 0x2C;  // Print Screen, no modifier
    launchDelay = 1;
    lastPen = 0;
    penSize = kDefaultPenSize;
    penSelectKey = 0x70;  // F1, no modifier
    std::memcpy(palette, defaultPalette, sizeof(palette));
}

size_t SettingsBytesToRead(uint64_t fileSize)
{
    if (fileSize < kMinSettingsFileSize)
        return 0;
    return fileSize == kSettingsFileSize ? kSettingsFileSize : kShortSettingsSize;
}

bool SettingsFromFileBytes(const void* bytes, size_t requested, size_t delivered, SettingsRecord& out)
{
    if (requested > sizeof(SettingsRecord) || delivered < requested)
        return false;
    SettingsRecord record;
    std::memcpy(&record, bytes, requested);
    // A hand-edited or damaged file may fill the path to the last byte; the rest of the program
    // treats savePath as a C string.
    record.savePath[kPathCapacity - 1] = '\0';
    out = record;
    return true;
}
