#include "shell/exe_path.h"

#include <cstring>

namespace {

// The first `keep` bytes of `path` and then `tail`; nothing when that does not fit, since a cut name
// could name some other file.
bool Join(const char* path, size_t keep, const char* tail, char (&out)[kPathCapacity])
{
    const size_t tailLength = std::strlen(tail);
    if (keep + tailLength >= kPathCapacity)
        return false;
    std::memcpy(out, path, keep);
    std::memcpy(out + keep, tail, tailLength + 1);
    return true;
}

}  // namespace

bool ExePathFromCommandLine(const char* commandLine, char (&out)[kPathCapacity], LeadBytePredicate isLead)
{
    std::memset(out, 0, sizeof(out));
    if (commandLine == nullptr)
        return false;

    if (commandLine[0] == '"') {
        const char* begin = commandLine + 1;
        for (const char* p = begin; *p != '\0'; p += CharLength(p, isLead)) {
            if (*p == '"')
                return Join(begin, static_cast<size_t>(p - begin), "", out);
        }
        return false;  // no closing quote
    }

    const char* p = commandLine;
    while (*p != '\0' && *p != ' ')
        p += CharLength(p, isLead);
    return Join(commandLine, static_cast<size_t>(p - commandLine), "", out);
}

bool SiblingPathOf(const char* path, const char* suffix, char (&out)[kPathCapacity], LeadBytePredicate isLead)
{
    std::memset(out, 0, sizeof(out));
    const char* lastDot = nullptr;
    const char* p = path;
    for (; *p != '\0'; p += CharLength(p, isLead)) {
        if (*p == '.')
            lastDot = p;
    }
    return Join(path, static_cast<size_t>((lastDot ? lastDot : p) - path), suffix, out);
}

bool FileInFolderOf(const char* path, const char* name, char (&out)[kPathCapacity], LeadBytePredicate isLead)
{
    std::memset(out, 0, sizeof(out));
    return Join(path, FolderLength(path, isLead), name, out);
}

#ifdef _WIN32
#include <windows.h>

char exePath[kPathCapacity];

void FillExePath()
{
    ExePathFromCommandLine(GetCommandLineA(), exePath, SystemLeadByte);
}

bool SiblingPath(const char* suffix, char (&out)[kPathCapacity])
{
    return SiblingPathOf(exePath, suffix, out, SystemLeadByte);
}

bool ModuleSiblingFile(const char* name, char (&out)[kPathCapacity])
{
    char module[kPathCapacity];
    const DWORD length = GetModuleFileNameA(nullptr, module, sizeof(module));
    if (length == 0 || length >= sizeof(module)) {
        out[0] = '\0';
        return false;
    }
    return FileInFolderOf(module, name, out, SystemLeadByte);
}
#endif
