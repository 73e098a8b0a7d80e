// Any file can sit where the settings file is expected: its size and bytes must never take the
// reader outside the record, and the path must always come out terminated.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "shell/base/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const size_t wanted = SettingsBytesToRead(size);
    if (wanted == 0)
        return 0;
    SettingsRecord record;
    const size_t delivered = size < wanted ? size : wanted;
    if (SettingsFromFileBytes(data, wanted, delivered, record)) {
        if (std::memchr(record.savePath, 0, sizeof(record.savePath)) == nullptr)
            std::abort();
        if (std::memcmp(&record, data, wanted < 80 ? wanted : 80) != 0)
            std::abort();
    }
    return 0;
}
