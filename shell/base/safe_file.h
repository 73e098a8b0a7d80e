// Replacing a whole file without ever leaving half of it behind: the new content goes to a unique
// temporary file beside the old one, which is moved into its place only when complete. Shared by the
// settings file and the saved pictures.
#pragma once
#include <windows.h>

struct FileChunk {
    const void* bytes;
    DWORD size;
};

// Writes the chunks, in order, as the whole new content of `path`. Answers false, leaving the old
// file as it was and no temporary file behind, when anything fails; the system's reason is then the
// last error. A folder where no temporary file can be made (one the user may not write to, or one
// whose path is too long for a temporary name) still lets the file be written in place, made when
// missing; that write is read back and compared.
bool ReplaceFileWith(const char* path, const FileChunk* chunks, int count);

// The folder part of `path` up to and including its last separator ("." for a bare name), by the
// system code page's double-byte rules. False when it does not fit.
bool FolderOfPath(const char* path, char (&folder)[MAX_PATH]);
