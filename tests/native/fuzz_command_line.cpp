// The command line is whatever the starting process passed: the path and sibling-path rules must
// stay inside their buffers and always produce terminated strings, taken from the line itself.
// Where a Shift-JIS name may be cut (a trail byte can look like a backslash, a dot or a quote) is
// walked case by case in the unit tables.
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

bool Terminated(const char (&buffer)[kPathCapacity])
{
    return std::memchr(buffer, 0, kPathCapacity) != nullptr;
}

// `out` is a beginning of `path` with `suffix` appended, or empty when that did not fit. Where the
// cut falls is the unit tables' business.
void CheckDerived(bool fits, const char* path, const char (&out)[kPathCapacity], const char* suffix)
{
    if (!Terminated(out) || (!fits && out[0] != '\0'))
        std::abort();
    const size_t length = std::strlen(out), suffixLength = std::strlen(suffix);
    if (fits && (length < suffixLength || std::strcmp(out + length - suffixLength, suffix) != 0 ||
                 std::strncmp(out, path, length - suffixLength) != 0))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);  // stops at an embedded NUL below
    char path[kPathCapacity];
    const bool found = ExePathFromCommandLine(line.c_str(), path, ShiftJisLead);
    if (!Terminated(path) || (!found && path[0] != '\0'))
        std::abort();
    const char* token = line.c_str() + (line[0] == '"' ? 1 : 0);
    if (found && std::strncmp(path, token, std::strlen(path)) != 0)
        std::abort();
    char sibling[kPathCapacity], module[kPathCapacity];
    CheckDerived(SiblingPathOf(path, ".cfg", sibling, ShiftJisLead), path, sibling, ".cfg");
    CheckDerived(FileInFolderOf(path, "Scrivane.dll", module, ShiftJisLead), path, module, "Scrivane.dll");
    return 0;
}
