#include "render/bmp_export.h"

#include <cderr.h>
#include <commdlg.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "render/bmp_layout.h"
#include "render/png_export.h"
#include "resources/resource.h"
#include "shell/base/messages.h"
#include "shell/base/platform.h"
#include "shell/base/safe_file.h"
#include "shell/base/settings.h"

static_assert(sizeof(Settings.savePath) == 260, "the dialog's buffer is the remembered path");
#ifndef _WIN64
// OPENFILENAME_SIZE_VERSION_400A is not a constant expression in MinGW's headers; this is its value.
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76,
              "the record without the Windows 2000 members");
#endif

namespace {

constexpr int kClipboardPatienceMs = 500, kClipboardRetryMs = 20;

// The window's client-sized picture copied out of `drawing` into a bottom-up 24-bit DIB section:
// its rows are laid out as a BMP file's and a CF_DIB's.
struct DrawingPicture {
    DrawingPicture(HWND window, HDC drawing)
    {
        RECT client;
        GetClientRect(window, &client);
        width = client.right - client.left;
        height = client.bottom - client.top;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;  // positive: bottom-up, the file's row order
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        error = GetLastError();
        if (section == nullptr) {
            pixels = nullptr;
            return;
        }
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(memory, section);
        BitBlt(memory, 0, 0, width, height, drawing, 0, 0, SRCCOPY);
        GdiFlush();  // the copy may still be queued, and the pixels are read straight from memory
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    ~DrawingPicture()
    {
        if (section != nullptr)
            DeleteObject(section);
    }
    DrawingPicture(const DrawingPicture&) = delete;
    DrawingPicture& operator=(const DrawingPicture&) = delete;

    int width = 0, height = 0;
    HBITMAP section = nullptr;
    void* pixels = nullptr;
    DWORD error = ERROR_SUCCESS;
};

// A name confirmed under the PNG filter that does not end in ".png": the ".bmp" the dialog appends
// by default becomes ".png", and any other name gets ".png" after it. Too long a name stays as it is.
void MakePngName(char (&path)[260])
{
    size_t length = std::strlen(path);
    if (length >= 4 && lstrcmpiA(path + length - 4, ".bmp") == 0)
        length -= 4;
    if (length + 4 < sizeof(path))
        std::memcpy(path + length, ".png", 5);
}

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
    dialog.lpstrFilter = "Bitmap (*.bmp)\0*.bmp\0PNG (*.png)\0*.png\0";  // the literal's own NUL ends the list
    // The filter that matches the name offered: a PNG saved last time is offered as PNG again.
    dialog.nFilterIndex = IsPngName(path) ? 2 : 1;
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
    if (confirmed && dialog.nFilterIndex == 2 && !IsPngName(path))
        MakePngName(path);
    return confirmed;
}

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
    const DrawingPicture picture(window, drawing);
    bool saved = false;
    DWORD error = picture.error;
    if (picture.pixels != nullptr) {
        saved = (IsPngName(path) ? WritePng(picture.width, path, picture.height, picture.pixels)
                                 : WriteBmp(picture.width, path, picture.height, picture.pixels)) != 0;
        error = GetLastError();
    }
    std::memcpy(Settings.savePath, path, sizeof(path));
    if (!saved)
        ReportFailedSave(window, path, error);
}

int WritePng(int width, const char* path, int height, const void* pixels)
{
    BmpLayout layout;
    std::vector<uint8_t> png;
    if (pixels == nullptr || path == nullptr || !BmpLayoutFor(width, height, layout) ||
        !EncodePng(width, height, pixels, layout.stride, png)) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    const FileChunk chunk = {png.data(), static_cast<DWORD>(png.size())};
    return ReplaceFileWith(path, &chunk, 1) ? 1 : 0;
}

bool CopyDrawingToClipboard(HWND window, HDC drawing)
{
    const DrawingPicture picture(window, drawing);
    BmpLayout layout;
    if (picture.pixels == nullptr || !BmpLayoutFor(picture.width, picture.height, layout))
        return false;
    // CF_DIB is the file without its file header: the information header, then the same rows.
    uint8_t headers[kBmpHeadersSize];
    FillBmpHeaders(picture.width, picture.height, layout, headers);
    constexpr size_t kFileHeaderSize = 14;
    const size_t infoSize = kBmpHeadersSize - kFileHeaderSize;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, infoSize + layout.imageSize);
    if (block == nullptr)
        return false;
    uint8_t* bytes = static_cast<uint8_t*>(GlobalLock(block));
    std::memcpy(bytes, headers + kFileHeaderSize, infoSize);
    std::memcpy(bytes + infoSize, picture.pixels, layout.imageSize);
    GlobalUnlock(block);
    // Another program may hold the clipboard for a moment; waiting longer would hang the session.
    bool opened = false;
    for (int waited = 0; !(opened = OpenClipboard(window) != FALSE) && waited < kClipboardPatienceMs;
         waited += kClipboardRetryMs)
        Platform.sleep(kClipboardRetryMs);
    const bool placed = opened && EmptyClipboard() && SetClipboardData(CF_DIB, block) != nullptr;
    if (opened)
        CloseClipboard();
    if (!placed)
        GlobalFree(block);  // the clipboard owns it only once it took it
    return placed;
}
