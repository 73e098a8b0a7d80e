#include "render/bmp_export.h"

#include <cderr.h>
#include <commdlg.h>

#include <cstddef>
#include <cstring>

#include "render/bmp_layout.h"
#include "shell/settings.h"

static_assert(sizeof(Settings.savePath) == 260, "the dialog's buffer is the remembered path");
#ifndef _WIN64
// OPENFILENAME_SIZE_VERSION_400A is not a constant expression in MinGW's headers; this is its value.
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76,
              "the record without the Windows 2000 members");
#endif

namespace {

bool WriteAll(HANDLE file, const void* bytes, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, bytes, size, &written, nullptr) && written == size;
}

// The folder part of `path` with its separator ("." for a bare name): the temporary file must be on
// the same volume for the final move to be a rename.
bool FolderOf(const char* path, char (&folder)[MAX_PATH])
{
    size_t end = 0;
    for (size_t i = 0; path[i] != '\0'; ++i) {
        if (path[i] == '\\' || path[i] == '/' || (i == 1 && path[i] == ':'))
            end = i + 1;
    }
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

bool WriteBmpFile(const char* tempPath, int width, int height, const BmpLayout& layout, const void* pixels)
{
    HANDLE file = CreateFileA(tempPath, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    uint8_t headers[kBmpHeadersSize];
    FillBmpHeaders(width, height, layout, headers);
    // The rows go out in one call straight from the caller's memory: they already have the file's
    // order and padding. The flush puts the data on disk before the rename can replace a good file.
    bool ok = WriteAll(file, headers, sizeof(headers)) && WriteAll(file, pixels, layout.imageSize) &&
              FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    return ok;
}

}  // namespace

int WriteBmp(int width, const char* path, int height, const void* pixels)
{
    BmpLayout layout;
    if (pixels == nullptr || path == nullptr || !BmpLayoutFor(width, height, layout))
        return 0;
    char folder[MAX_PATH];
    char tempPath[MAX_PATH];
    // GetTempFileNameA creates the file, which makes the name ours.
    if (!FolderOf(path, folder) || GetTempFileNameA(folder, "scr", 0, tempPath) == 0)
        return 0;
    if (WriteBmpFile(tempPath, width, height, layout, pixels) &&
        MoveFileExA(tempPath, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 1;
    DeleteFileA(tempPath);
    return 0;
}

int AskSavePath(HWND owner, char (&path)[260])
{
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = "Bitmap (*.bmp)\0*.bmp\0";  // the literal's own NUL ends the list
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof(path);
    dialog.Flags = OFN_OVERWRITEPROMPT;
    // Without the dot, as documented: Windows appends a dot and the first three characters of this,
    // so ".bmp" would not give "name.bmp" there. Wine gives "name.bmp" for either form.
    dialog.lpstrDefExt = "bmp";
    int confirmed = GetSaveFileNameA(&dialog);
    // Windows refuses to open at all with an initial name it cannot parse (a remembered name from
    // another machine, say): offer an empty name rather than no dialog.
    if (!confirmed && CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
        path[0] = '\0';
        confirmed = GetSaveFileNameA(&dialog);
    }
    return confirmed;
}

void SaveDrawing(HWND window, HDC drawing)
{
    char path[260];
    std::memcpy(path, Settings.savePath, sizeof(path));
    path[sizeof(path) - 1] = '\0';  // the settings file may hold a name without its NUL
    if (!AskSavePath(window, path))
        return;

    RECT client;
    GetClientRect(window, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: bottom-up, the file's row order
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (section != nullptr) {
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        HGDIOBJ previous = SelectObject(memory, section);
        BitBlt(memory, 0, 0, width, height, drawing, 0, 0, SRCCOPY);
        GdiFlush();  // the copy may still be queued, and the pixels are read straight from memory
        SelectObject(memory, previous);
        DeleteDC(memory);
        WriteBmp(width, path, height, pixels);
        DeleteObject(section);
    }
    std::memcpy(Settings.savePath, path, sizeof(path));
}
