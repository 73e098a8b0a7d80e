#include "shell/exe_path.h"

#include <cstring>

namespace {

bool CopyToken(const char* begin, size_t length, char (&out)[kPathCapacity])
{
    if (length >= kPathCapacity)
        return false;
    std::memcpy(out, begin, length);
    out[length] = '\0';
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
                return CopyToken(begin, static_cast<size_t>(p - begin), out);
        }
        return false;  // no closing quote
    }

    const char* p = commandLine;
    while (*p != '\0' && *p != ' ')
        p += CharLength(p, isLead);
    return CopyToken(commandLine, static_cast<size_t>(p - commandLine), out);
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
    const size_t stemLength = static_cast<size_t>((lastDot ? lastDot : p) - path);
    const size_t suffixLength = std::strlen(suffix);
    if (stemLength + suffixLength >= kPathCapacity)
        return false;
    std::memcpy(out, path, stemLength);
    std::memcpy(out + stemLength, suffix, suffixLength + 1);
    return true;
}

bool FileInFolderOf(const char* path, const char* name, char (&out)[kPathCapacity], LeadBytePredicate isLead)
{
    std::memset(out, 0, sizeof(out));
    const size_t folderLength = FolderLength(path, isLead);
    const size_t nameLength = std::strlen(name);
    if (folderLength + nameLength >= kPathCapacity)
        return false;
    std::memcpy(out, path, folderLength);
    std::memcpy(out + folderLength, name, nameLength + 1);
    return true;
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
