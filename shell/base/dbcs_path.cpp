#include "shell/base/dbcs_path.h"

size_t CharLength(const char* s, LeadBytePredicate isLead)
{
    return (isLead(static_cast<unsigned char>(s[0])) && s[1] != '\0') ? 2 : 1;
}

size_t FolderLength(const char* path, LeadBytePredicate isLead)
{
    size_t length = 0;
    for (const char* p = path; *p != '\0'; p += CharLength(p, isLead)) {
        if (*p == '\\' || *p == '/' || (p == path + 1 && *p == ':'))
            length = static_cast<size_t>(p - path) + 1;
    }
    return length;
}

#ifdef _WIN32
#include <windows.h>

bool SystemLeadByte(unsigned char c)
{
    return IsDBCSLeadByte(c) != FALSE;
}
#endif
