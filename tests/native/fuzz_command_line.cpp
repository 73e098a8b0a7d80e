// The command line is whatever the starting process passed: the path and sibling-path rules must
// stay inside their buffers and always produce terminated strings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/exe_path.h"

namespace {
bool ShiftJisLead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);  // stops at an embedded NUL below
    char path[kPathCapacity];
    const bool found = ExePathFromCommandLine(line.c_str(), path, ShiftJisLead);
    if (std::memchr(path, 0, sizeof(path)) == nullptr)
        std::abort();
    if (!found && path[0] != '\0')
        std::abort();
    char sibling[kPathCapacity];
    const bool fits = SiblingPathOf(path, ".cfg", sibling, ShiftJisLead);
    if (std::memchr(sibling, 0, sizeof(sibling)) == nullptr)
        std::abort();
    if (fits && std::strlen(sibling) < 4)
        std::abort();
    return 0;
}
