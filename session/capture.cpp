#include "session/capture.h"

#include "canvas/surfaces.h"
#include "session/dib_layout.h"
#include "shell/base/platform.h"
#include "shell/base/settings.h"

namespace {

constexpr int kClipboardTries = 2;
constexpr DWORD kClipboardRetryMs = 1000;
// The clipboard's bitmap as a screen-format bitmap, or null when there is none that is safe to use.
HBITMAP BitmapFromClipboardDib(HDC screen, SIZE& size)
{
    HANDLE data = GetClipboardData(CF_DIB);
    if (data == nullptr)
        return nullptr;
    const void* block = GlobalLock(data);
    if (block == nullptr)
        return nullptr;
    HBITMAP bitmap = nullptr;
    DibLayout layout;
    if (ReadDibLayout(block, GlobalSize(data), layout)) {
        const auto* header = static_cast<const BITMAPINFOHEADER*>(block);
        const auto* bits = static_cast<const BYTE*>(block) + layout.bitsOffset;
        // GDI places a top-down bitmap upright by itself; only the copy below needs its positive height.
        bitmap =
            CreateDIBitmap(screen, header, CBM_INIT, bits, reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS);
        size = SIZE{layout.width, layout.height};
    }
    GlobalUnlock(data);
    return bitmap;
}

void PaintCursor(HWND window)
{
    CURSORINFO cursor = {};
    cursor.cbSize = sizeof(cursor);
    if (!GetCursorInfo(&cursor) || cursor.hCursor == nullptr)
        return;
    ICONINFO icon;
    if (!GetIconInfo(cursor.hCursor, &icon))
        return;
    BITMAP bm = {};
    int w = 0, h = 0;
    if (icon.hbmColor != nullptr && GetObjectA(icon.hbmColor, sizeof(bm), &bm)) {
        w = bm.bmWidth;
        h = bm.bmHeight;
    } else if (icon.hbmMask != nullptr && GetObjectA(icon.hbmMask, sizeof(bm), &bm)) {
        w = bm.bmWidth;
        h = bm.bmHeight / 2;  // a monochrome cursor stacks its AND and XOR masks
    }
    RECT frame;
    GetWindowRect(window, &frame);
    const int x = cursor.ptScreenPos.x - frame.left - static_cast<int>(icon.xHotspot);
    const int y = cursor.ptScreenPos.y - frame.top - static_cast<int>(icon.yHotspot);
    DrawIcon(captureSurface, x, y, cursor.hCursor);
    BitBlt(committedSurface, x, y, w, h, captureSurface, x, y, SRCCOPY);
    BitBlt(drawingSurface, x, y, w, h, captureSurface, x, y, SRCCOPY);
    BitBlt(viewSurface, x, y, w, h, drawingSurface, x, y, SRCCOPY);
    if (icon.hbmColor)
        DeleteObject(icon.hbmColor);
    if (icon.hbmMask)
        DeleteObject(icon.hbmMask);
}

}  // namespace

bool CaptureFromClipboard(HWND window, SIZE& size)
{
    if (!Platform.pressPrintScreen() || !OpenClipboard(window))
        return false;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = BitmapFromClipboardDib(screen, size);
    CloseClipboard();
    if (bitmap != nullptr) {
        // Borrow the drawing surface's device context to hold the picture for the copy.
        HGDIOBJ drawingBitmap = SelectObject(drawingSurface, bitmap);
        BitBlt(captureSurface, 0, 0, size.cx, size.cy, drawingSurface, 0, 0, SRCCOPY);
        SelectObject(drawingSurface, drawingBitmap);
        DeleteObject(bitmap);
    }
    ReleaseDC(nullptr, screen);
    return bitmap != nullptr;
}

void CaptureDesktop(HWND window)
{
    SIZE size = {};
    bool captured = false;
    if (Settings.flags & OPT_VIA_CLIPBOARD) {
        for (int attempt = 0; attempt < kClipboardTries && !captured; ++attempt) {
            captured = CaptureFromClipboard(window, size);
            if (!captured)
                Platform.sleep(kClipboardRetryMs);
        }
    }
    if (!captured) {
        RECT frame;
        GetWindowRect(window, &frame);
        size = SIZE{frame.right - frame.left, frame.bottom - frame.top};
        HDC screen = GetDC(nullptr);
        BitBlt(captureSurface, 0, 0, size.cx, size.cy, screen, frame.left, frame.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    }
    BitBlt(committedSurface, 0, 0, size.cx, size.cy, captureSurface, 0, 0, SRCCOPY);
    BitBlt(drawingSurface, 0, 0, size.cx, size.cy, captureSurface, 0, 0, SRCCOPY);
    BitBlt(viewSurface, 0, 0, size.cx, size.cy, drawingSurface, 0, 0, SRCCOPY);
    if (Settings.flags & OPT_INCLUDE_CURSOR)
        PaintCursor(window);
}
