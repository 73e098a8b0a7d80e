#include "shell/base/safe_file.h"

#include <cstring>
#include <vector>

#include "shell/base/dbcs_path.h"
#include "shell/base/platform.h"

namespace {

bool WriteChunks(HANDLE file, const FileChunk* chunks, int count)
{
    for (int i = 0; i < count; ++i) {
        DWORD written = 0;
        if (!Platform.writeFile(file, chunks[i].bytes, chunks[i].size, &written))
            return false;
        if (written != chunks[i].size)
            return SetLastError(ERROR_HANDLE_DISK_FULL), false;  // the system gives no reason of its own
    }
    return FlushFileBuffers(file) != FALSE;
}

bool ReadBackMatches(HANDLE file, const FileChunk* chunks, int count)
{
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return false;
    std::vector<char> got;
    for (int i = 0; i < count; ++i) {
        got.resize(chunks[i].size);
        DWORD read = 0;
        if (!ReadFile(file, got.data(), chunks[i].size, &read, nullptr) || read != chunks[i].size ||
            std::memcmp(got.data(), chunks[i].bytes, chunks[i].size) != 0)
            return false;
    }
    return true;
}

// The reason a step failed, kept through the clean-up after it: the caller may tell the user.
void DeleteKeepingError(const char* path)
{
    const DWORD error = GetLastError();
    DeleteFileA(path);
    SetLastError(error);
}

bool OverwriteInPlace(const char* path, const FileChunk* chunks, int count)
{
    // Made when missing: under a folder too long for a temporary name the file may well be new.
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool made = GetLastError() != ERROR_ALREADY_EXISTS;
    const bool ok = WriteChunks(file, chunks, count) && SetEndOfFile(file) && ReadBackMatches(file, chunks, count);
    const DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    if (!ok && made)
        DeleteKeepingError(path);
    return ok;
}

}  // namespace

bool FolderOfPath(const char* path, char (&folder)[MAX_PATH])
{
    const size_t end = FolderLength(path, SystemLeadByte);
    if (end == 0) {
        std::strcpy(folder, ".");
        return true;
    }
    if (end >= MAX_PATH)
        return false;
    std::memcpy(folder, path, end);
    folder[end] = '\0';
    return true;
}

bool ReplaceFileWith(const char* path, const FileChunk* chunks, int count)
{
    if (path == nullptr || path[0] == '\0')
        return false;
    char folder[MAX_PATH];
    char temporary[MAX_PATH];
    if (!FolderOfPath(path, folder))
        return false;
    // GetTempFileNameA creates the file under a name no one else holds, so a stale or read-only
    // leftover of an earlier save can never block this one. Beside the target, so that the final
    // move is a rename on one volume.
    const bool named = Platform.tempFileName(folder, "scv", temporary);
    HANDLE file = INVALID_HANDLE_VALUE;
    if (named)
        file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // Only the open tells: Wine answers a name even when the folder refused to make the file.
        if (named)
            DeleteKeepingError(temporary);
        return OverwriteInPlace(path, chunks, count);
    }
    bool ok = WriteChunks(file, chunks, count);
    ok = CloseHandle(file) && ok;
    if (ok && MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteKeepingError(temporary);
    return false;
}
