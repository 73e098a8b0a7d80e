// Reading and writing the settings record as a file.
#pragma once
#include <windows.h>

#include "shell/base/settings.h"

// Reads the file into `record` by the file rules: a missing, unreadable, too short or short-read
// file leaves `record` as it was. Answers whether anything was taken.
bool LoadSettingsFrom(const char* path, SettingsRecord& record);

// Writes all 340 bytes to a temporary file beside `path` and only then puts it in the old file's
// place, so a failed save (full disk, no write access) leaves the previous file intact.
bool SaveSettingsTo(const char* path, const SettingsRecord& record);

// The global record and the settings file beside the executable (exePath must be filled).
void LoadSettings();
void SaveSettings();
