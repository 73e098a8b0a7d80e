#include "render/bmp_export.h"

#include <cderr.h>
#include <commdlg.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "render/bmp_layout.h"
#include "resources/resource.h"
#include "shell/base/messages.h"
#include "shell/base/safe_file.h"
#include "shell/base/settings.h"

static_assert(sizeof(Settings.savePath) == 260, "the dialog's buffer is the remembered path");
#ifndef _WIN64
// OPENFILENAME_SIZE_VERSION_400A is not a constant expression in MinGW's headers; this is its value.
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76,
              "the record without the Windows 2000 members");
#endif

int WriteBmp(int width, const char* path, int height, const void* pixels)
{
    BmpLayout layout;
    if (pixels == nullptr || path == nullptr || !BmpLayoutFor(width, height, layout))
        return 0;
    uint8_t headers[kBmpHeadersSize];
    FillBmpHeaders(width, height, layout, headers);
    // The rows go out in one write straight from the caller's memory: they already have the file's
    // order and padding. In place only where no temporary file can be made beside it.
    const FileChunk chunks[2] = {{headers, sizeof(headers)}, {pixels, layout.imageSize}};
    return ReplaceFileWith(path, chunks, 2) ? 1 : 0;
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

namespace {

// The user believes the picture is on disk until told otherwise; the session, and the drawing,
// stay for another try.
void ReportFailedSave(HWND window, const char* path, DWORD error)
{
    char notSaved[80] = {};
    LoadStringA(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)), IDS_SAVE_FAILED, notSaved,
                sizeof(notSaved));
    char reason[256] = {};
    // A read-back that differed sets no error of its own.
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT, 0, reason, sizeof(reason), nullptr);
    const std::string text = std::string(notSaved) + "\n\n" + path + "\n\n" + reason;
    MessageBoxA(window, text.c_str(), kProgramName, MB_OK | MB_ICONWARNING);
}

}  // namespace

void SaveDrawing(HWND window, HDC drawing)
{
    char path[260];
    std::memcpy(path, Settings.savePath, sizeof(path));
    path[sizeof(path) - 1] = '\0';  // the settings file may hold a name without its NUL
    if (AskSavePath(window, path))
        SaveDrawingAs(window, drawing, path);
}

void SaveDrawingAs(HWND window, HDC drawing, const char (&path)[260])
{
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
    bool saved = false;
    DWORD error = GetLastError();
    if (section != nullptr) {
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        HGDIOBJ previous = SelectObject(memory, section);
        BitBlt(memory, 0, 0, width, height, drawing, 0, 0, SRCCOPY);
        GdiFlush();  // the copy may still be queued, and the pixels are read straight from memory
        SelectObject(memory, previous);
        DeleteDC(memory);
        saved = WriteBmp(width, path, height, pixels) != 0;
        error = GetLastError();
        DeleteObject(section);
    }
    std::memcpy(Settings.savePath, path, sizeof(path));
    if (!saved)
        ReportFailedSave(window, path, error);
}
