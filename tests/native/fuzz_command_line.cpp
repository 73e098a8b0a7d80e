// The command line is whatever the starting process passed: the path and sibling-path rules must
// stay inside their buffers, always produce terminated strings, and cut a Shift-JIS name only between
// characters: a trail byte can look like a backslash, a dot or a quote, and must never be taken for one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "shell/exe_path.h"

namespace {

bool ShiftJisLead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Where each character of `s` starts, and its end.
std::vector<bool> CharacterStarts(const char* s)
{
    const size_t length = std::strlen(s);
    std::vector<bool> starts(length + 1, false);
    for (size_t i = 0; i <= length; i += (ShiftJisLead(static_cast<unsigned char>(s[i])) && s[i + 1] != '\0') ? 2 : 1)
        starts[i] = true;
    return starts;
}

// Where the last character `mark` of its own (not the trail byte of another) starts; npos for none.
size_t LastMark(const char* s, const std::vector<bool>& starts, char mark)
{
    size_t last = std::string::npos;
    for (size_t i = 0; s[i] != '\0'; ++i) {
        if (starts[i] && s[i] == mark)
            last = i;
    }
    return last;
}

bool Terminated(const char (&buffer)[kPathCapacity])
{
    return std::memchr(buffer, 0, kPathCapacity) != nullptr;
}

// `out` is `path` up to some character with `suffix` appended, or empty when that did not fit.
// Answers where `path` was cut.
size_t CheckDerived(bool fits, const char* path, const char (&out)[kPathCapacity], const char* suffix)
{
    if (!Terminated(out) || (!fits && out[0] != '\0'))
        std::abort();
    if (!fits)
        return std::string::npos;
    const size_t length = std::strlen(out), suffixLength = std::strlen(suffix);
    if (length < suffixLength || std::strcmp(out + length - suffixLength, suffix) != 0)
        std::abort();
    const size_t cut = length - suffixLength;
    if (cut > std::strlen(path) || std::strncmp(out, path, cut) != 0)
        std::abort();
    return cut;
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
    if (found && (std::strncmp(path, token, std::strlen(path)) != 0 || !CharacterStarts(token)[std::strlen(path)]))
        std::abort();

    // The extension goes from the last dot; the module lives after the last backslash.
    const std::vector<bool> starts = CharacterStarts(path);
    const size_t lastDot = LastMark(path, starts, '.'), lastBackslash = LastMark(path, starts, '\\');
    char sibling[kPathCapacity];
    const size_t stem = CheckDerived(SiblingPathOf(path, ".cfg", sibling, ShiftJisLead), path, sibling, ".cfg");
    if (stem != std::string::npos && stem != (lastDot == std::string::npos ? std::strlen(path) : lastDot))
        std::abort();
    char module[kPathCapacity];
    const size_t folder = CheckDerived(FileInFolderOf(path, "Scrivane.dll", module, ShiftJisLead), path, module,
                                       "Scrivane.dll");
    if (folder != std::string::npos && folder != (lastBackslash == std::string::npos ? 0 : lastBackslash + 1))
        std::abort();
    return 0;
}
