// The command line is whatever the starting process passed: the path rules must stay inside their
// buffers and produce terminated strings taken from the line itself. Where a Shift-JIS name may be
// cut is the unit tables' business.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/exe_path.h"

namespace {

bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// `out` is terminated, empty when nothing fits, and otherwise a beginning of `from` and then `suffix`.
void Check(bool fits, const char* from, const char (&out)[kPathCapacity], const char* suffix)
{
    const size_t length = strnlen(out, kPathCapacity), suffixLength = std::strlen(suffix);
    if (length == kPathCapacity || (!fits && length != 0) ||
        (fits && (length < suffixLength || std::strcmp(out + length - suffixLength, suffix) != 0 ||
                  std::strncmp(out, from, length - suffixLength) != 0)))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);  // stops at an embedded NUL below
    char path[kPathCapacity], sibling[kPathCapacity], module[kPathCapacity];
    Check(ExePathFromCommandLine(line.c_str(), path, ShiftJisLead), line.c_str() + (line[0] == '"'), path, "");
    Check(SiblingPathOf(path, ".cfg", sibling, ShiftJisLead), path, sibling, ".cfg");
    Check(FileInFolderOf(path, "Scrivane.dll", module, ShiftJisLead), path, module, "Scrivane.dll");
    return 0;
}
