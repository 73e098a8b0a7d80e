// The settings record: the program's only persistent state, the same 340 bytes in memory and in the
// settings file beside the executable.
#pragma once
#include <cstddef>
#include <cstdint>

enum : uint32_t {
    OPT_TASKTRAY = 0x001,
    OPT_HOTKEY = 0x002,
    OPT_DELAYED_LAUNCH = 0x004,
    OPT_REMEMBER_PALETTE = 0x008,
    OPT_REMEMBER_LAST_PEN = 0x010,
    OPT_REMEMBER_PEN_SIZE = 0x020,
    OPT_SELECT_PEN_BY_KEY = 0x040,
    OPT_VIA_CLIPBOARD = 0x080,
    OPT_INCLUDE_CURSOR = 0x100,
    OPT_HIGHLIGHTER = 0x200,
    OPT_MOUSE_HOOK = 0x400,
};

constexpr size_t kPathCapacity = 260;  // bytes, terminating NUL included

// The defaults of a program that has no settings file yet.
constexpr uint32_t kDefaultFlags = OPT_TASKTRAY | OPT_HOTKEY | OPT_DELAYED_LAUNCH | OPT_REMEMBER_PALETTE |
                                   OPT_REMEMBER_LAST_PEN | OPT_REMEMBER_PEN_SIZE | OPT_SELECT_PEN_BY_KEY;
constexpr uint32_t kDefaultPenSize = 5;

struct SettingsRecord {
    uint32_t flags;
    uint32_t launchHotKey;  // hot-key control form: low byte key, next byte HOTKEYF_* bits
    uint32_t launchDelay;   // seconds
    int32_t lastPen;        // palette index 0..7; -1 (or anything from 8 up) is the eraser
    uint32_t penSize;
    uint32_t penSelectKey;  // hot-key control form, first key of the pen row
    uint8_t reserved1[8];   // carried through unchanged
    uint32_t palette[8];    // COLORREF, kPaletteSize of them
    uint8_t reserved2[16];  // carried through unchanged
    char savePath[kPathCapacity];

    SettingsRecord();
};

static_assert(sizeof(SettingsRecord) == 340, "the settings file is exactly the record");
static_assert(offsetof(SettingsRecord, flags) == 0, "file layout");
static_assert(offsetof(SettingsRecord, launchHotKey) == 4, "file layout");
static_assert(offsetof(SettingsRecord, launchDelay) == 8, "file layout");
static_assert(offsetof(SettingsRecord, lastPen) == 12, "file layout");
static_assert(offsetof(SettingsRecord, penSize) == 16, "file layout");
static_assert(offsetof(SettingsRecord, penSelectKey) == 20, "file layout");
static_assert(offsetof(SettingsRecord, reserved1) == 24, "file layout");
static_assert(offsetof(SettingsRecord, palette) == 32, "file layout");
static_assert(offsetof(SettingsRecord, reserved2) == 64, "file layout");
static_assert(offsetof(SettingsRecord, savePath) == 80, "file layout");

constexpr size_t kSettingsFileSize = sizeof(SettingsRecord);
constexpr size_t kShortSettingsSize = offsetof(SettingsRecord, savePath);  // an older, shorter record
constexpr size_t kMinSettingsFileSize = 64;

// How many bytes to take from a settings file of this size: the whole record for a file of exactly
// 340 bytes, the short record for any other size from 64 up, and nothing (0) below that.
size_t SettingsBytesToRead(uint64_t fileSize);

// Fills `out` from `delivered` bytes read of the `requested` ones: the file's bytes over a default
// record. A short read takes nothing and answers false, leaving `out` alone.
bool SettingsFromFileBytes(const void* bytes, size_t requested, size_t delivered, SettingsRecord& out);

// The one global record, default-constructed before the entry point runs.
extern SettingsRecord Settings;
