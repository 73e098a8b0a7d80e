// Paths in the system's ANSI code page, where a double-byte character's trail byte may look like a
// backslash, a quote or a dot: every search steps over such a character as one unit.
#pragma once
#include <cstddef>

// Whether a byte starts a double-byte character.
using LeadBytePredicate = bool (*)(unsigned char);

// Length in bytes of the character starting at `s`: two for a lead byte followed by a trail byte,
// one otherwise. A lead byte just before the terminating NUL is a damaged character and counts as
// one, so no search ever steps past the end of the string.
size_t CharLength(const char* s, LeadBytePredicate isLead);

// How many bytes of `path` name its folder: up to and including the last backslash or slash, or the
// colon of a drive ("C:name"); 0 for a bare name.
size_t FolderLength(const char* path, LeadBytePredicate isLead);

#ifdef _WIN32
// The system code page's lead bytes (IsDBCSLeadByte).
bool SystemLeadByte(unsigned char c);
#endif
